// Texts the code composes in English (errors of the export and the snapshot,
// the command line's messages and help) shown in the language of the loaded
// table, and Qt's own texts (standard dialogs, buttons, key names) with them.
#pragma once

#include <QString>
#include <QStringList>

class TLingwa2000;

// A message in the table's language. The table holds it under its English
// wording with <%1%>, <%2%>, … where the variable parts stand ("Cannot write
// <%1%>: <%2%>"); a message the table lacks stays as it is.
QString TranslateMessage(TLingwa2000 &table, const QString &message);

// The help text line by line: an option's explanation is translated on its
// own, so the option column stays aligned; other lines as a whole.
QString TranslateHelpText(TLingwa2000 &table, const QString &help);

// The language the command line or the environment asks for ("de", "en"),
// found even when the rest of the command line is wrong; empty for none.
QString RequestedLanguage(const QStringList &arguments, const QString &environmentLanguage);

// For what is printed before the window exists: the table of that language,
// or the one beside the program. Needs the application object.
void LoadProgramTable(TLingwa2000 &table, const QString &language);

// A message printed on the command line in the language asked for there;
// makes a core application object for the look-up when none exists.
QString CommandLineText(int &argc, char **argv, const QString &language, const QString &message, bool help = false);

// Loads Qt's translation for the table's language tag ("lgGerman") when the
// system has one, and drops it for any other; true when one is in use.
bool UseQtTranslation(const QString &languageTag);
