// The dialect's date functions. A date travels as the text it is stored as;
// the functions read it (or a number, or a typed date) as a serial.
#include "store/dialect/conversions.h"
#include "store/dialect/runtime.h"

#include <QDateTime>

#include <cmath>

namespace qv::store::dialect {

namespace {

using namespace runtime;

// A date as seconds on one straight line (the serial counts negative days
// oddly), and back.
qint64 linearSeconds(double serial)
{
    const DateParts p = partsOf(serial);
    const qint64 day = QDate(1899, 12, 30).daysTo(QDate(p.year, p.month, p.day));
    return day * 86400 + p.hour * 3600 + p.minute * 60 + p.second;
}

double serialOfSeconds(qint64 seconds)
{
    const qint64 day = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const qint64 rest = seconds - day * 86400;
    const QDate date = QDate(1899, 12, 30).addDays(day);
    return serialOf(
        {date.year(), date.month(), date.day(), int(rest / 3600), int(rest / 60 % 60), int(rest % 60), 0, 0});
}

qint64 dayNumber(double serial)
{
    const qint64 s = linearSeconds(serial);
    return s >= 0 ? s / 86400 : -((-s + 86399) / 86400);
}

// The first day of the week: 1 Sunday (the default) .. 7 Saturday; 0 is the system's, Sunday.
int firstDayArg(int argc, sqlite3_value** a, int index)
{
    if (argc <= index || isNull(a[index]))
        return 1;
    const qint64 first = longArg(a[index]);
    if (first < 0 || first > 7)
        raise(5);
    return first == 0 ? 1 : int(first);
}

int weekdayFrom(double serial, int firstDay)
{
    return (partsOf(serial).weekday - firstDay + 7) % 7 + 1;
}

// The week of the year: week 1 holds 1 January (1, the default), or is the
// first with four days of the year (2), or the first whole week (3).
int weekOfYear(double serial, int firstDay, int firstWeek)
{
    const int year = partsOf(serial).year;
    auto weekOneStart = [&](int y) {
        const double jan1 = serialOfDay(y, 1, 1);
        const int offset = weekdayFrom(jan1, firstDay) - 1;
        if (firstWeek == 2)
            return offset <= 3 ? jan1 - offset : jan1 + (7 - offset);
        if (firstWeek == 3)
            return offset == 0 ? jan1 : jan1 + (7 - offset);
        return jan1 - offset;
    };
    const double day = double(dayNumber(serial));
    double start = weekOneStart(year);
    if (day < start)
        start = weekOneStart(year - 1);
    else if (firstWeek != 1 && day >= weekOneStart(year + 1))
        return 1;
    return int((day - start) / 7) + 1;
}

int firstWeekArg(int argc, sqlite3_value** a, int index)
{
    if (argc <= index || isNull(a[index]))
        return 1;
    const qint64 week = longArg(a[index]);
    if (week < 0 || week > 3)
        raise(5);
    return week == 0 ? 1 : int(week);
}

QString intervalArg(sqlite3_value* v)
{
    const QString interval = textArg(v).trimmed().toLower();
    static const QStringList known = {QStringLiteral("yyyy"), QStringLiteral("q"), QStringLiteral("m"),
                                      QStringLiteral("y"),    QStringLiteral("d"), QStringLiteral("w"),
                                      QStringLiteral("ww"),   QStringLiteral("h"), QStringLiteral("n"),
                                      QStringLiteral("s")};
    if (!known.contains(interval))
        raise(5);
    return interval;
}

enum class Part { Year, Month, Day, Hour, Minute, Second };

template <Part P> void partFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const DateParts p = partsOf(dateArg(a[0]));
    const int values[] = {p.year, p.month, p.day, p.hour, p.minute, p.second};
    sqlite3_result_int(ctx, values[int(P)]);
}

void weekdayFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int(ctx, weekdayFrom(dateArg(a[0]), firstDayArg(argc, a, 1)));
}

// DateAdd(interval, number, date): months keep the day where the month has it,
// else take the month's last day.
void dateAddFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    const QString interval = intervalArg(a[0]);
    if (nullResult(ctx, argc, a))
        return;
    const double number = std::nearbyint(numberArg(a[1]));
    if (!(std::fabs(number) < 1e7))
        raise(5);
    const qint64 n = qint64(number);
    const double date = dateArg(a[2]);
    if (interval == QLatin1String("yyyy") || interval == QLatin1String("q") ||
        interval == QLatin1String("m")) {
        DateParts p = partsOf(date);
        const qint64 months = p.year * 12LL + (p.month - 1) +
                              n * (interval == QLatin1String("yyyy") ? 12
                                   : interval == QLatin1String("q")  ? 3
                                                                     : 1);
        if (months < 100 * 12 || months > 9999 * 12 + 11)
            raise(5);
        p.year = int(months / 12);
        p.month = int(months % 12) + 1;
        p.day = std::min(p.day, QDate(p.year, p.month, 1).daysInMonth());
        resultDate(ctx, serialOf(p));
        return;
    }
    const qint64 seconds = interval == QLatin1String("ww")  ? n * 7 * 86400
                           : interval == QLatin1String("h") ? n * 3600
                           : interval == QLatin1String("n") ? n * 60
                           : interval == QLatin1String("s") ? n
                                                            : n * 86400; // y, d, w
    resultDate(ctx, serialOfSeconds(linearSeconds(date) + seconds));
}

// DateDiff(interval, date1, date2[, firstday[, firstweek]]): the boundaries of
// the interval crossed from date1 to date2.
void dateDiffFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    const QString interval = intervalArg(a[0]);
    const int firstDay = firstDayArg(argc, a, 3);
    if (isNull(a[1]) || isNull(a[2])) {
        sqlite3_result_null(ctx);
        return;
    }
    const double d1 = dateArg(a[1]);
    const double d2 = dateArg(a[2]);
    const DateParts p1 = partsOf(d1);
    const DateParts p2 = partsOf(d2);
    qint64 r = 0;
    if (interval == QLatin1String("yyyy")) {
        r = p2.year - p1.year;
    } else if (interval == QLatin1String("q")) {
        r = (p2.year * 4LL + (p2.month - 1) / 3) - (p1.year * 4LL + (p1.month - 1) / 3);
    } else if (interval == QLatin1String("m")) {
        r = (p2.year * 12LL + p2.month) - (p1.year * 12LL + p1.month);
    } else if (interval == QLatin1String("w")) { // whole weeks
        r = (dayNumber(d2) - dayNumber(d1)) / 7;
    } else if (interval == QLatin1String("ww")) { // first days of the week crossed
        auto weekStart = [&](double d) { return dayNumber(d) - (weekdayFrom(d, firstDay) - 1); };
        r = (weekStart(d2) - weekStart(d1)) / 7;
    } else if (interval == QLatin1String("h") || interval == QLatin1String("n") ||
               interval == QLatin1String("s")) {
        const qint64 unit = interval == QLatin1String("h") ? 3600 : interval == QLatin1String("n") ? 60 : 1;
        auto boundaries = [unit](qint64 s) { return s >= 0 ? s / unit : -((-s + unit - 1) / unit); };
        r = boundaries(linearSeconds(d2)) - boundaries(linearSeconds(d1));
    } else { // y, d
        r = dayNumber(d2) - dayNumber(d1);
    }
    sqlite3_result_int64(ctx, r);
}

void datePartFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    const QString interval = intervalArg(a[0]);
    const int firstDay = firstDayArg(argc, a, 2);
    const int firstWeek = firstWeekArg(argc, a, 3);
    if (isNull(a[1])) {
        sqlite3_result_null(ctx);
        return;
    }
    const double d = dateArg(a[1]);
    const DateParts p = partsOf(d);
    int r = 0;
    if (interval == QLatin1String("yyyy"))
        r = p.year;
    else if (interval == QLatin1String("q"))
        r = (p.month - 1) / 3 + 1;
    else if (interval == QLatin1String("m"))
        r = p.month;
    else if (interval == QLatin1String("y"))
        r = p.dayOfYear;
    else if (interval == QLatin1String("d"))
        r = p.day;
    else if (interval == QLatin1String("w"))
        r = weekdayFrom(d, firstDay);
    else if (interval == QLatin1String("ww"))
        r = weekOfYear(d, firstDay, firstWeek);
    else if (interval == QLatin1String("h"))
        r = p.hour;
    else if (interval == QLatin1String("n"))
        r = p.minute;
    else
        r = p.second;
    sqlite3_result_int(ctx, r);
}

// DateSerial(year, month, day): months and days beyond their range carry over;
// years 0 to 29 are 2000 to 2029, 30 to 99 are 1930 to 1999.
void dateSerialFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    qint64 year = longArg(a[0]);
    const qint64 month = longArg(a[1]);
    const qint64 day = longArg(a[2]);
    if (year >= 0 && year < 30)
        year += 2000;
    else if (year >= 30 && year < 100)
        year += 1900;
    if (year < 0 || year > 20000 || std::llabs(month) > 240000 || std::llabs(day) > 8000000)
        raise(5);
    resultDate(ctx, serialOfDay(int(year), int(month), int(day)));
}

void timeSerialFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const qint64 seconds = longArg(a[0]) * 3600 + longArg(a[1]) * 60 + longArg(a[2]);
    resultDate(ctx, serialOfSeconds(seconds));
}

void cdateFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (!nullResult(ctx, argc, a))
        resultDate(ctx, dateArg(a[0]));
}

// DateValue keeps the date of a date, TimeValue its time.
template <bool Date> void valueOfFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (nullResult(ctx, argc, a))
        return;
    const double d = dateArg(a[0]);
    const double day = std::trunc(d);
    resultDate(ctx, Date ? day : std::fabs(d - day));
}

void isDateFn(sqlite3_context* ctx, int, sqlite3_value** a)
{
    const bool date = sqlite3_value_type(a[0]) == SQLITE_TEXT && textToDate(textArg(a[0])).has_value();
    sqlite3_result_int(ctx, date ? -1 : 0);
}

void nowFn(sqlite3_context* ctx, int, sqlite3_value**)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QTime t = now.time();
    resultDate(ctx, serialOf({now.date().year(), now.date().month(), now.date().day(), t.hour(), t.minute(),
                              t.second(), 0, 0}));
}

void todayFn(sqlite3_context* ctx, int, sqlite3_value**)
{
    const QDate d = QDate::currentDate();
    resultDate(ctx, serialOfDay(d.year(), d.month(), d.day()));
}

// Time(): the time of day as the engine keeps a time alone, on 30 December 1899.
void timeFn(sqlite3_context* ctx, int, sqlite3_value**)
{
    const QTime t = QTime::currentTime();
    resultDate(ctx, (t.hour() * 3600.0 + t.minute() * 60.0 + t.second()) / 86400.0);
}

// Date$() and Time$(): "mm-dd-yyyy" and "hh:mm:ss".
void todayTextFn(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, QDate::currentDate().toString(QStringLiteral("MM-dd-yyyy")));
}

void timeTextFn(sqlite3_context* ctx, int, sqlite3_value**)
{
    resultText(ctx, QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}

void monthNameFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const qint64 month = longArg(a[0]);
    if (month < 1 || month > 12)
        raise(5);
    const bool abbreviate = argc > 1 && !isNull(a[1]) && numberArg(a[1]) != 0;
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    resultText(ctx, english.monthName(int(month), abbreviate ? QLocale::ShortFormat : QLocale::LongFormat));
}

void weekdayNameFn(sqlite3_context* ctx, int argc, sqlite3_value** a)
{
    if (isNull(a[0])) {
        sqlite3_result_null(ctx);
        return;
    }
    const qint64 day = longArg(a[0]);
    if (day < 1 || day > 7)
        raise(5);
    const bool abbreviate = argc > 1 && !isNull(a[1]) && numberArg(a[1]) != 0;
    const int first = firstDayArg(argc, a, 2);
    const int sundayBased = int((day - 1 + first - 1) % 7) + 1; // 1 Sunday
    const int qtDay = sundayBased == 1 ? 7 : sundayBased - 1;   // Qt: 1 Monday .. 7 Sunday
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    resultText(ctx, english.dayName(qtDay, abbreviate ? QLocale::ShortFormat : QLocale::LongFormat));
}

} // namespace

void registerDateFunctions(sqlite3* db)
{
    defineFunction(db, "qv_year", 1, guarded<partFn<Part::Year>>);
    defineFunction(db, "qv_month", 1, guarded<partFn<Part::Month>>);
    defineFunction(db, "qv_day", 1, guarded<partFn<Part::Day>>);
    defineFunction(db, "qv_hour", 1, guarded<partFn<Part::Hour>>);
    defineFunction(db, "qv_minute", 1, guarded<partFn<Part::Minute>>);
    defineFunction(db, "qv_second", 1, guarded<partFn<Part::Second>>);
    defineFunction(db, "qv_weekday", 1, guarded<weekdayFn>);
    defineFunction(db, "qv_weekday", 2, guarded<weekdayFn>);
    defineFunction(db, "qv_dateadd", 3, guarded<dateAddFn>);
    for (int n = 3; n <= 5; ++n)
        defineFunction(db, "qv_datediff", n, guarded<dateDiffFn>);
    for (int n = 2; n <= 4; ++n)
        defineFunction(db, "qv_datepart", n, guarded<datePartFn>);
    defineFunction(db, "qv_dateserial", 3, guarded<dateSerialFn>);
    defineFunction(db, "qv_timeserial", 3, guarded<timeSerialFn>);
    defineFunction(db, "qv_cdate", 1, guarded<cdateFn>);
    defineFunction(db, "qv_datevalue", 1, guarded<valueOfFn<true>>);
    defineFunction(db, "qv_timevalue", 1, guarded<valueOfFn<false>>);
    defineFunction(db, "qv_isdate", 1, guarded<isDateFn>);
    defineFunction(db, "qv_now", 0, guarded<nowFn>, false);
    defineFunction(db, "qv_date", 0, guarded<todayFn>, false);
    defineFunction(db, "qv_time", 0, guarded<timeFn>, false);
    defineFunction(db, "qv_date_text_now", 0, guarded<todayTextFn>, false);
    defineFunction(db, "qv_time_text_now", 0, guarded<timeTextFn>, false);
    defineFunction(db, "qv_monthname", 1, guarded<monthNameFn>);
    defineFunction(db, "qv_monthname", 2, guarded<monthNameFn>);
    for (int n = 1; n <= 3; ++n)
        defineFunction(db, "qv_weekdayname", n, guarded<weekdayNameFn>);
}

} // namespace qv::store::dialect
