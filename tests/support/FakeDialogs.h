#pragma once

#include "platform/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace tiradex {

// Records every message a window shows and answers questions from a script.
// An unscripted question is answered No (Yes/No) or Cancel (Yes/No/Cancel).
class FakeDialogs : public Dialogs
{
public:
    struct Shown
    {
        enum Kind
        {
            Information,
            YesNo,
            YesNoCancel
        } kind;
        QString text;
    };

    QList<Shown> shown;    // every message box, in order
    QList<Answer> answers; // consumed by the questions, first first
    QStringList fileNames; // consumed by openFileName; "" when empty
    QStringList folders;   // consumed by BrowseForFolder; "" when empty

    QStringList texts() const
    {
        QStringList all;
        for (const Shown &s : shown)
            all.append(s.text);
        return all;
    }

    void information(QWidget *, const QString &text) override
    {
        shown.append({Shown::Information, text});
    }
    Answer askYesNo(QWidget *, const QString &text) override
    {
        shown.append({Shown::YesNo, text});
        return answers.isEmpty() ? Answer::No : answers.takeFirst();
    }
    Answer askYesNoCancel(QWidget *, const QString &text) override
    {
        shown.append({Shown::YesNoCancel, text});
        return answers.isEmpty() ? Answer::Cancel : answers.takeFirst();
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return fileNames.isEmpty() ? QString() : fileNames.takeFirst();
    }
    QString BrowseForFolder(const QString &, QWidget *) override
    {
        return folders.isEmpty() ? QString() : folders.takeFirst();
    }
};

} // namespace tiradex
