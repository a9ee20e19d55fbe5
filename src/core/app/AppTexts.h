#pragma once

#include <QString>

namespace tiradex {

// The texts of the frame's "?" windows (About, help note, web window) and of
// the encryption tool, as the user reads them; the windows and the tools take
// them from here.
namespace AppTexts {

inline QString productName()
{
    return QStringLiteral("Tiradex");
}
inline QString version()
{
    return QStringLiteral("Version 1.00");
}
inline QString legalNotice()
{
    return QStringLiteral("Copyright \u00A9 2026 Halvenor. All rights reserved.");
}
inline QString companyLine()
{
    return QStringLiteral("Halvenor - SARL au capital de 8 000 \u20AC - RCS Lyon 512 804 337");
}
inline QString email()
{
    return QStringLiteral("tiradex@halvenor.example");
}
inline QString webAddress()
{
    return QStringLiteral("https://www.halvenor.example/");
}
// The product page: where the web window starts.
inline QString productPage()
{
    return QStringLiteral("https://www.halvenor.example/tiradex/");
}
// What the web window's "Search" button opens.
inline QString searchPage()
{
    return QStringLiteral("https://duckduckgo.com/");
}

inline QString emailToolTip()
{
    return QStringLiteral("Cliquez pour copier l'adresse e-mail dans le presse-papiers");
}
inline QString webToolTip()
{
    return QStringLiteral("Cliquez pour copier l'URL dans le presse-papiers");
}
inline QString emailCopied()
{
    return QStringLiteral("The e-mail was copied in the clipboard.\n"
                          "You can now paste it in your mailing software.");
}
inline QString webCopied()
{
    return QStringLiteral("The Url was copied in the clipboard.\n"
                          "You can now paste it in your browser.");
}

inline QString helpCaption()
{
    return QStringLiteral("Tiradex help file.");
}
inline QString helpNote()
{
    return QStringLiteral("The help file of Tiradex is with the Flash format. To open the help "
                          "file in your browser, open the file \"tiradex.htm\" which is in the "
                          "directory of the Tiradex program. ");
}

inline QString webQuestion()
{
    return QStringLiteral("You must be connected to Internet. Do you want to continue ?");
}
inline QString addressLabel()
{
    return QStringLiteral("Adress : ");
}
inline QString loading()
{
    return QStringLiteral("In process...");
}

// The frame's menus.
inline QString playsMenu()
{
    return QStringLiteral("Plays");
}
inline QString importEntry()
{
    return QStringLiteral("Import a play ...");
}
inline QString exitEntry()
{
    return QStringLiteral("Exit");
}
inline QString helpMenu()
{
    return QStringLiteral("?");
}
inline QString helpEntry()
{
    return QStringLiteral("Help ...");
}
inline QString cipherEntry()
{
    return QStringLiteral("Cryptage ...");
}
inline QString charactersEntry()
{
    return QStringLiteral("Characters ...");
}
inline QString aboutEntry()
{
    return QStringLiteral("About ...");
}
inline QString webEntry()
{
    return QStringLiteral("Web site ...");
}

// The start-up window's last line and the loading window's text.
inline QString startUpCompany()
{
    return QStringLiteral("  Halvenor");
}
inline QString loadingFile()
{
    return QStringLiteral("Loading the file ...");
}

inline QString cipherCaption()
{
    return QStringLiteral("Cryptage");
}
inline QString encipherButton()
{
    return QStringLiteral("Crypter");
}
inline QString decipherButton()
{
    return QStringLiteral("D\u00E9crypter");
}
inline QString cipherDone()
{
    return QStringLiteral("OK");
}

} // namespace AppTexts

} // namespace tiradex
