// Texts the code composes in English (errors of the export and the snapshot,
// the command line's messages and help) shown in the language of the loaded
// table, and Qt's own texts (standard dialogs, buttons, key names) with them.
#pragma once

#include <QString>
#include <QStringList>

class TLingwa2000;
class TvrxDemonClient;

// A message in the table's language. The table holds it under its English
// wording with <%1%>, <%2%>, … where the variable parts stand ("Cannot write
// <%1%>: <%2%>"); a message the table lacks stays as it is.
QString TranslateMessage(TLingwa2000 &table, const QString &message);
// The same with the table of a host link; the message as it is without one.
QString TranslateMessage(TvrxDemonClient *client, const QString &message);

// For what is printed before the window exists: the table of that language,
// or the one beside the program. Needs the application object.
void LoadProgramTable(TLingwa2000 &table, const QString &language);

// Lines printed on the command line, and its help, in Language (the parsed
// command line's: "de", "en", empty for the table beside the program); each
// makes a core application object for the look-up when none exists.
QString CommandLineText(int &argc, char **argv, const QString &language, const QString &text);
QString CommandLineHelp(int &argc, char **argv, const QString &language);

// Loads Qt's translation for the table's language tag ("lgGerman") when the
// system has one, and drops it for any other; true when one is in use.
bool UseQtTranslation(const QString &languageTag);
