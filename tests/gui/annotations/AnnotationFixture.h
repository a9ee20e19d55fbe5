#pragma once

// A play folder in a temporary application folder and a stand-in for the
// play window, for the widget tests of the note, photo and browser windows.

#include "gui/app/PlayWindowHost.h"

#include "FakeDialogs.h"
#include "core/app/Module1.h"
#include "core/play/CharactersFile.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace tiradex {

class FakeHost : public PlayWindowHost
{
public:
    CurrentReply reply;
    CharactersList list;
    int refreshed = 0; // calls of refreshReplyFiles()

    CurrentReply currentReply() const override { return reply; }
    const CharactersList &characters() const override { return list; }
    QStringList sceneReplyFiles() const override { return {reply.fileName}; }
    void refreshReplyFiles() override { ++refreshed; }
    void filterChanged() override {}
};

class AnnotationFixture
{
public:
    AnnotationFixture()
    {
        state.StartUp(dir.path());
        state.PlayFolder = dir.filePath(QStringLiteral("merchantvenice"));
        QDir().mkpath(state.NotesFolder());
        QDir().mkpath(state.PhotosFolder());
        setReply(57, QStringLiteral("HUBERT"));
    }

    void setReply(int number, const QString &character)
    {
        host.reply.index = 0;
        host.reply.number = Module1::PadNumber(number, 4);
        host.reply.character = character;
        host.reply.baseName = Module1::ReplyBaseName(number, character);
        host.reply.fileName = host.reply.baseName + QStringLiteral(".txt");
    }

    QString notePath() const { return state.NotePath(host.reply.baseName); }
    QString photoPath() const { return state.PhotoPath(host.reply.baseName); }

    static bool write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
    // A PNG picture of `size` pixels at `path`.
    static bool writePicture(const QString &path, const QSize &size, const char *format = "PNG")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(QColor(40, 90, 160));
        return image.save(path, format);
    }

    QTemporaryDir dir;
    Module1 state;
    FakeDialogs dialogs;
    FakeHost host;
};

} // namespace tiradex
