#pragma once

#include "core/playimport/PlayCast.h"
#include "core/playimport/PlayFiles.h"
#include "core/playimport/PlayTextReader.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace tiradex {

// A play of the user on its way in: what the import would make of a source
// (the XML edition or a play text), shown before anything is stored. The
// title and the characters' names can be changed; renaming a character to
// the name of another merges the two (two spellings of one character).
class PlayImport
{
public:
    static constexpr qint64 MaxSourceBytes = 32 * 1024 * 1024;
    static constexpr int MaxNameLength = 60;
    static constexpr int MaxTitleLength = 120;

    struct Character
    {
        QString name;
        QString status;
        int replies = 0;
    };

    // Reads the source file; a file that cannot be read or is larger than
    // MaxSourceBytes gives a report holding that error.
    static PlayImport fromFile(const QString &path);
    // `fileName` supplies the title when the source names none.
    static PlayImport fromBytes(const QByteArray &source, const QString &fileName);

    QString title() const { return m_title; }
    // Sets the title (blanks collapsed, double quotes made apostrophes,
    // control characters dropped). Fails on a title that is then empty or
    // longer than MaxTitleLength.
    bool setTitle(const QString &title, QString *error);

    QList<Character> characters() const;
    // Renames character `index`. When `name` is another character's name
    // (letter case ignored) the two become one under that name. Fails on an
    // unusable name (NameFault) or a bad index.
    bool renameCharacter(int index, const QString &name, QString *error);

    int acts() const;
    int scenes() const;
    int replies() const;
    // The lines the import reports (errors and notes), in source order.
    QList<ImportIssue> issues() const;
    // True when no issue is an error.
    bool canImport() const;
    bool isXml() const { return m_xml; }

    // The report as text: title, counts, characters with their replies, and
    // every issue with its line number.
    QString reportText() const;

    // The play text and characters file to store; fails when !canImport().
    std::optional<GeneratedPlay> build(QString *error) const;

    // Why `name` cannot be a character's name ("" when it can): empty, a
    // path separator, a control character or double quote, longer than
    // MaxNameLength, or a start the conversion reads as a heading.
    static QString NameFault(const QString &name);
    // `name` made usable: separators become "-", control characters and
    // double quotes go, the length is cut, "THE " goes before a heading word.
    static QString MendedName(const QString &name);

private:
    void readXml(const QByteArray &source);
    void readText(const QByteArray &source);
    void checkSource(const QByteArray &source);
    void mendNames();
    void renameEntry(const QString &from, const QString &to);
    int firstLineOf(const QString &entry) const;

    PlayDocument m_play;
    PlayCast m_cast;
    QString m_title;
    QList<ImportIssue> m_issues; // of the source, fixed once read
    QList<ImportIssue> m_mended; // names the import changed
    QStringList m_mendedNames;   // the name each of them became
    bool m_xml = false;
    bool m_read = false; // a play was read
};

} // namespace tiradex
