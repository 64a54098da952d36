#pragma once

/// @file
/// The table-driven translation engine of user-interface texts.

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;
class QObject;
class TLingwa2000;

/// Called after every successful lookup; the handler may change the text.
using TTextTranslatedEvent = std::function<void(TLingwa2000 *Sender, const QString &Key, QString &Text)>;
/// Called before an object's properties are walked; set Translate to false to skip the object.
using TBeforeObjectEvent = std::function<void(TLingwa2000 *Sender, QObject *Obj, bool &Translate)>;

/// Table-driven translator of user-interface texts.
///
/// A designer marks a text for translation by giving it the prefix "LW_"; the
/// engine replaces such texts by their translation from a table, or by the bare
/// key when the table has none.
///
/// Table format: records "[" key "]=" text "|$$". Anything before a record's
/// first "[" is ignored, and so is anything after the last terminator. Keys are
/// compared with A-Z lower-cased; in a key, CR, LF and tab become blanks, runs of
/// blanks collapse to one and leading blanks go. In a text, CR and LF become
/// blanks, the two characters "\n" become a line break (CR LF) and
/// "<%APPNAME%>" (any case) becomes the application name. A record without
/// "]=" after its "[" or with an empty key is skipped, and so is one whose key
/// is longer than MaxLineLength. A text keeps at most MaxLineLength characters
/// per line and MaxTextLength in all: no window shows more, and a huge text
/// would cost time and memory wherever it is drawn.
///
/// Character set: each key and each text is read as UTF-8 when its bytes are
/// valid UTF-8, otherwise as Windows-1252 (Latin-1 with the printable
/// characters of 0x80-0x9F), so both tables saved by current editors and old
/// 8-bit tables load. The missing-key file is written in UTF-8.
///
/// Walking objects: TranslateObject visits every Q_PROPERTY of the object's
/// class. QString properties (except "objectName", which is the component's
/// Name) and QStringList properties are translated. A QObject* property is
/// walked only when the object it holds is marked, by a Q_CLASSINFO or a dynamic
/// property named WalkMarker:
///   "object"     - the object is translated like a component's own property
///                  record (scale property objects, label settings);
///   "collection" - each of the object's children(), in creation order, is an
///                  item and is translated.
/// An object of the chart's scale property class (ScalePropsClass, or a class
/// derived from it) is walked like "object" even without a marker. Any other
/// object property is left alone.
class TLingwa2000
{
public:
    /// Name of the class info or dynamic property that marks an object property to be walked.
    static constexpr const char *WalkMarker = "LingwaWalk";
    /// Class whose objects (and those of derived classes) are walked without a marker.
    static constexpr const char *ScalePropsClass = "TScaleProps";
    /// Characters kept per line of a text, and the longest key read.
    static constexpr qsizetype MaxLineLength = 4096;
    /// Characters kept of a whole text.
    static constexpr qsizetype MaxTextLength = 64 * 1024;
    /// A table is read up to this many bytes and records (sound or not); the
    /// rest is ignored. Far above any real table, so that a huge or endless
    /// file costs a fraction of a second and a bounded amount of memory.
    static constexpr qint64 MaxTableBytes = 16 * 1024 * 1024;
    /// Records read of a table at most.
    static constexpr qsizetype MaxTableRecords = 65536;

    /// An engine with an empty table; AppName replaces "<%APPNAME%>" in texts.
    explicit TLingwa2000(const QString &AppName = QString());
    /// Writes the missing-key file when AutoCreateItlFile is set.
    ~TLingwa2000();

    TLingwa2000(const TLingwa2000 &) = delete;
    TLingwa2000 &operator=(const TLingwa2000 &) = delete;

    /// Replaces the whole table with the stream's records. Never fails: an
    /// unreadable or malformed stream yields fewer (or no) entries.
    void LoadTable(QIODevice &Stream);
    /// Replaces the whole table with the records in Data, as LoadTable(QIODevice &) does.
    void LoadTable(const QByteArray &Data);

    /// The translation of Key, or Key itself (case kept) when the table has
    /// none; "<%1%>", "<%2%>", ... are replaced by Args in one pass.
    QString LookupText(const QString &Key, const QStringList &Args = {});

    /// Translates the component and, recursively, every child it owns, in
    /// creation order.
    void TranslateComponent(QObject *Component);
    /// Translates one object's published properties.
    void TranslateObject(QObject *Obj);

    /// Whether keys asked for but not found are collected and written to the
    /// missing-key file (ItlFileName()) at destruction (default false).
    bool AutoCreateItlFile() const { return m_autoCreateItlFile; }
    /// Switches the collecting of missing keys on or off.
    void SetAutoCreateItlFile(bool Value) { m_autoCreateItlFile = Value; }

    /// The prefix that marks a text as a key: "LW_".
    QString Prefix() const { return m_prefix; }
    /// The application name that replaces "<%APPNAME%>" in texts.
    QString AppName() const { return m_appName; }
    /// Number of records loaded.
    int Count() const { return int(m_keys.size()); }
    /// Loaded keys (lower-cased, normalised) and texts, parallel, in file order.
    const QStringList &Keys() const { return m_keys; }
    /// The texts of Keys(), in the same order.
    const QStringList &Texts() const { return m_texts; }
    /// One table record per key asked for but not found (only collected while
    /// AutoCreateItlFile is set).
    const QStringList &Missing() const { return m_missing; }

    /// Name of the missing-key file: the program's file name with the extension
    /// "itl", in the current directory.
    static QString ItlFileName();
    /// The table name for a program path: its extension replaced by ".itl", or
    /// ".itl" appended when the file name has none.
    static QString ItlPathFor(const QString &ProgramPath);

    /// Raised after every successful lookup; the handler may change the text.
    TTextTranslatedEvent OnTextTranslated;
    /// Raised before an object's properties are walked; the handler may skip it.
    TBeforeObjectEvent OnBeforeObject;

private:
    void AddRecord(const QByteArray &Record);
    void TranslateProperties(QObject *Obj, QSet<QObject *> &Visited);
    void WriteItlFile();

    QStringList m_keys;
    QStringList m_texts;
    QHash<QString, int> m_index; // key -> first position in m_keys
    QString m_prefix;
    QStringList m_missing;
    QSet<QString> m_missingSet;
    bool m_autoCreateItlFile = false;
    QString m_appName;
};
