#pragma once

#include <QString>

class QWidget;

namespace tiradex {

// Message boxes and file dialogs. Every message box is titled with the
// application's title ("Tiradex"). Windows talk to the user only through
// this interface, so tests can read the exact text a user would see and
// answer from a script.
class Dialogs
{
public:
    enum class Answer
    {
        Ok,
        Yes,
        No,
        Cancel
    };

    virtual ~Dialogs() = default;

    // A message with an OK button.
    virtual void information(QWidget *parent, const QString &text) = 0;
    // A question with Yes and No buttons; returns Yes or No.
    virtual Answer askYesNo(QWidget *parent, const QString &text) = 0;
    // A question with Yes, No and Cancel buttons.
    virtual Answer askYesNoCancel(QWidget *parent, const QString &text) = 0;
    // A file to open; "" when cancelled. `filter` as QFileDialog takes it.
    virtual QString openFileName(QWidget *parent, const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
    // A folder; "" when cancelled.
    virtual QString BrowseForFolder(const QString &title, QWidget *owner) = 0;
};

} // namespace tiradex
