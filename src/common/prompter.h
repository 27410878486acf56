#pragma once

#include <QString>

#include <optional>

namespace qv {

class Error;
enum class ErrorLayout;

enum class Icon { None, Information, Exclamation, Critical, Question };
enum class Buttons { OK, OKCancel, YesNo, YesNoCancel };
enum class Answer { OK, Cancel, Yes, No };

struct FileChoice {
    QString title;
    QString filter; // "Zip (*.zip)|*.zip": label and pattern pairs
    QString initialFolder;
    QString fileName;        // default name
    bool cancelError = true; // a cancel raises error 32755 instead of returning ""
};

// Every message, question and file choice of the program goes through this
// interface: dialogs in the desktop program, the terminal in quorvane-cli and
// a script in tests.
class Prompter {
public:
    virtual ~Prompter() = default;

    virtual Answer message(const QString& text, const QString& title, Icon icon = Icon::None,
                           Buttons buttons = Buttons::OK, Answer defaultAnswer = Answer::OK) = 0;
    // A message that reports a failure: shown like any other message, but whoever
    // answers knows it is an error whatever its wording (the command line's exit
    // code, the tests).
    virtual Answer errorMessage(const QString& text, const QString& title, Icon icon = Icon::None,
                                Buttons buttons = Buttons::OK, Answer defaultAnswer = Answer::OK)
    {
        return message(text, title, icon, buttons, defaultAnswer);
    }
    // The error in the layout the calling routine uses.
    Answer error(const Error& error, ErrorLayout layout, const QString& title = {}, Icon icon = Icon::None);
    // The same, from work that shows the hourglass: the pointer is normal while
    // the message is up and busy again once it is answered.
    Answer errorWhileBusy(const Error& error, ErrorLayout layout);
    // Returns nothing when the user cancels.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& defaultText = {}) = 0;
    // Returns the chosen path; on cancel returns "" or throws Error 32755.
    virtual QString openFile(const FileChoice& choice) = 0;
    virtual QString saveFile(const FileChoice& choice) = 0;
    // Status bar panels are numbered from 1.
    virtual void setStatus(int panel, const QString& text) = 0;
    virtual void setBusy(bool busy) = 0;
};

// Shows the hourglass for the length of a scope.
class BusyScope {
public:
    explicit BusyScope(Prompter& prompter) : prompter_(prompter) { prompter_.setBusy(true); }
    ~BusyScope() { prompter_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    Prompter& prompter_;
};

// The generic error message of the import and creation routines: "Error:" +
// number + " " + description, titled with the application's name.
void showGenericError(Prompter& prompter, const Error& error);

// Throws the cancel error when a dialog that must raise it came back empty.
QString cancelledChoice(const FileChoice& choice);

} // namespace qv
