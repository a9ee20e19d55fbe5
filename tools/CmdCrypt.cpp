#include "ToolCommand.h"

#include "core/app/Module1.h"
#include "core/cipher/CryptFiles.h"

namespace tiradex {

namespace {
// Transforms each named file in place as the program's cipher does for the
// files of its application folder.
int cryptEach(const QStringList &files, int mode, const char *commandName)
{
    const QString name = QString::fromLatin1(commandName);
    if (files.isEmpty()) {
        printErr(name + QStringLiteral(": no file given; see tiradex-tool ") + name +
                 QStringLiteral(" --help"));
        return 2;
    }
    Module1 state;
    state.StartUp(QStringLiteral("."));
    const BlockCipher cipher(state.KeyChars);
    int status = 0;
    for (const QString &file : files) {
        QString error;
        switch (CryptFile(cipher, file, mode, &error)) {
        case CryptFileStatus::Transformed:
            break;
        case CryptFileStatus::TooShort:
            printOut(QStringLiteral("%1: %2 is shorter than 8 bytes and stays as it is")
                         .arg(name, file));
            break;
        case CryptFileStatus::Skipped:
            printErr(QStringLiteral("%1: %2 cannot be written (missing, read-only or locked); "
                                    "left as it is")
                         .arg(name, file));
            status = 1;
            break;
        case CryptFileStatus::Failed:
            printErr(name + QStringLiteral(": ") + error);
            status = 1;
            break;
        }
    }
    return status;
}

int runEncrypt(const QStringList &args)
{
    return cryptEach(args, 1, "encrypt");
}

int runDecrypt(const QStringList &args)
{
    return cryptEach(args, 2, "decrypt");
}
} // namespace

extern const ToolCommand kEncryptCommand = {
    "encrypt", "encipher files in place with the play-data cipher",
    "Usage: tiradex-tool encrypt FILE...\n\n"
    "Enciphers each FILE in place with the play-data cipher and the fixed key,\n"
    "as the program enciphers a characters file. Files under 8 bytes stay as\n"
    "they are; the length never changes. Exit status 1 when a file could not\n"
    "be transformed.",
    runEncrypt};

extern const ToolCommand kDecryptCommand = {
    "decrypt", "decipher files in place with the play-data cipher",
    "Usage: tiradex-tool decrypt FILE...\n\n"
    "Deciphers each FILE in place (the inverse of \"encrypt\"). Exit status 1\n"
    "when a file could not be transformed.",
    runDecrypt};

} // namespace tiradex
