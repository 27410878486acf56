#pragma once

#include "common/error_advice.h"

#include <QString>

#include <exception>
#include <string>

namespace qv {

// Error numbers that callers test for. Engine numbers come from the database
// engine adapter; the small ones are the program's own run-time errors.
namespace err {
inline constexpr int Overflow = 6;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int DiskFull = 61;
inline constexpr int PathFileAccess = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int NoActiveWindow = 91;
inline constexpr int NoSuchRoutine = 438;
inline constexpr int DialogCancelled = 32755;

inline constexpr int TableExists = 3010;
inline constexpr int NoCurrentRecord = 3021;
inline constexpr int DuplicateKey = 3022;
inline constexpr int EngineFileNotFound = 3024;
inline constexpr int ReadOnlyDatabase = 3027;
inline constexpr int NoPermission = 3033;
inline constexpr int EngineDiskFull = 3035;
inline constexpr int FileInUse = 3045;
inline constexpr int NullInKey = 3058;
inline constexpr int OperationCancelled = 3059;
inline constexpr int UnknownColumn = 3061;
inline constexpr int SyntaxError = 3075;
inline constexpr int TableNotFound = 3078;
inline constexpr int InvalidName = 3125;
inline constexpr int FieldTooSmall = 3163;
inline constexpr int TableInUse = 3211;
inline constexpr int NotADatabase = 3343;
inline constexpr int DropTableMissing = 3376;
inline constexpr int EngineFailure = 3000;

// Run-time errors of expressions and the engine's other failures.
inline constexpr int OutOfMemory = 7;
inline constexpr int LibraryNotLoaded = 48;
inline constexpr int InvalidUseOfNull = 94;
inline constexpr int PrinterError = 482;
inline constexpr int EncryptedDatabase = 3031;
inline constexpr int CannotExecuteSelect = 3065;
inline constexpr int UndefinedFunction = 3085;
inline constexpr int UnknownInsertField = 3127;
inline constexpr int DatabaseExists = 3204;
inline constexpr int InvalidOperation = 3219;
inline constexpr int InvalidFieldType = 3259;
inline constexpr int ItemNotFound = 3265;
inline constexpr int ConstraintNotFound = 3371;
inline constexpr int ObjectInvalid = 3420;
inline constexpr int QueryTooComplex = 3360;
inline constexpr int NotInAggregate = 3122;
inline constexpr int TooManyFields = 3190;
} // namespace err

// The one error type of the program: a number and a description in the
// program's own words.
class Error : public std::exception {
public:
    Error(int number, QString description);

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const char* what() const noexcept override { return what_.c_str(); }
    // The same error with a line below its message saying what to do.
    Error withAdvice(Advice advice) const;
    Advice advice() const noexcept { return advice_; }

private:
    int number_;
    QString description_;
    std::string what_;
    Advice advice_ = Advice::None;
};

// Error 91 "Object variable or With block variable not set": no window, no
// open auction, no list where one is needed; with what to do when the user can.
Error objectNotSet(Advice advice = Advice::None);
// Error 438 "Object doesn't support this property or method": a window that
// offers no routine of the name asked for.
Error routineNotOffered();

// The four layouts in which an error reaches the user.
enum class ErrorLayout {
    Report,  // "Error 3061: ..." most window routines
    Generic, // "Error:3061 ..." import, creation, sort and filter appliers
    Command, // "Error: 3061 ..." main window commands, print dialogs, statistics
    Export,  // "Error 3061 ..." text export
};

QString errorText(ErrorLayout layout, int number, const QString& description);
// The error's message, and its advice on a line of its own below.
QString errorText(ErrorLayout layout, const Error& error);

} // namespace qv
