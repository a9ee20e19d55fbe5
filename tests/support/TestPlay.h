#pragma once

// A play set up in a temporary application folder for the tests: the
// enciphered characters file, a play text, and scene stores written by hand
// in the format the conversion writes (so the window finds an already
// converted play), plus recordings, notes and photos as empty files.

#include "core/app/Module1.h"
#include "core/app/PlayCatalogue.h"
#include "core/cipher/Cipher.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace tiradex {

class TestPlay
{
public:
    struct Reply
    {
        int number;
        QString character;
        QStringList lines;
    };
    struct Scene
    {
        int act;
        int scene;
        QString header;
        QList<Reply> replies;
    };

    // Starts `state` up on `appFolder` and selects the catalogue play `index`.
    TestPlay(Module1 &state, const QString &appFolder, int index = 0) : m_state(state)
    {
        m_state.StartUp(appFolder);
        m_state.SelectPlay(PlayCatalogue().at(index));
    }

    // The characters file, enciphered as the shipped ones are.
    void writeCharacters(const QList<QPair<QString, QString>> &characters) const
    {
        QByteArray clear;
        for (const auto &c : characters)
            clear += "\"" + c.first.toUtf8() + "\",\"" + c.second.toUtf8() + "\"\r\n";
        BlockCipher(m_state.KeyChars).encipher(clear);
        write(m_state.AppFolder + m_state.CharactersFileName(), clear);
    }

    void writePlayText(const QByteArray &text) const
    {
        write(m_state.AppFolder + m_state.PlayTextFile, text);
    }

    // A scene store holding `scenes` (in order): the reply files, "head.ini"
    // and "treeview.ini" (act, number of scenes listed for it), and the empty
    // "vox", "notes" and "photos" folders.
    void writeStore(const QList<Scene> &scenes) const
    {
        QDir().mkpath(m_state.PlayFolder);
        for (const char *sub : {"vox", "notes", "photos"})
            QDir().mkpath(m_state.PlayFolder + QLatin1Char('/') + QLatin1String(sub));
        QByteArray head;
        QList<QPair<int, int>> acts;
        for (const Scene &s : scenes) {
            QDir().mkpath(m_state.SceneFolder(s.act, s.scene));
            head += QByteArray::number(s.act) + "," + QByteArray::number(s.scene) + ",\"" +
                    s.header.toUtf8() + "\"\r\n";
            if (acts.isEmpty() || acts.last().first != s.act)
                acts.append({s.act, 0});
            ++acts.last().second;
            for (const Reply &r : s.replies)
                writeReply(s.act, s.scene, r);
        }
        QByteArray tree;
        for (const auto &a : acts)
            tree += QByteArray::number(a.first) + "," + QByteArray::number(a.second) + "\r\n";
        write(m_state.PlayFolder + QStringLiteral("/head.ini"), head);
        write(m_state.PlayFolder + QStringLiteral("/treeview.ini"), tree);
    }

    // One reply file, each line a record with its line break kept.
    void writeReply(int act, int scene, const Reply &r) const
    {
        QByteArray bytes;
        for (const QString &line : r.lines)
            bytes += "\"" + line.toUtf8() + "\r\n\"\r\n";
        write(m_state.ReplyTextPath(act, scene, Module1::ReplyBaseName(r.number, r.character)),
              bytes);
    }

    // A scene of `count` replies numbered from `first`, spoken in turn by
    // `speakers`; reply n's text is "Text of reply n.".
    static Scene numberedScene(int act, int scene, int first, int count,
                               const QStringList &speakers)
    {
        Scene s{act, scene, QStringLiteral("SCENE %1. Somewhere.").arg(scene), {}};
        for (int i = 0; i < count; ++i) {
            const int number = first + i;
            s.replies.append({number,
                              speakers.at(i % speakers.size()),
                              {QStringLiteral("Text of reply %1.").arg(number)}});
        }
        return s;
    }

    void addRecording(int number, const QString &character) const
    {
        write(m_state.VoxPath(Module1::ReplyBaseName(number, character)), "vox");
    }
    void addNote(int number, const QString &character) const
    {
        write(m_state.NotePath(Module1::ReplyBaseName(number, character)), "{\\rtf1 note}");
    }
    void addPhoto(int number, const QString &character) const
    {
        write(m_state.PhotoPath(Module1::ReplyBaseName(number, character)), "jpeg");
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(path.left(path.lastIndexOf(QLatin1Char('/'))));
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }

private:
    Module1 &m_state;
};

} // namespace tiradex
