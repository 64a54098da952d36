#pragma once

/// @file
/// One running instance per user.

#include <QString>

#include <functional>

/// Keeps a program to one running instance per user: a lock file named
/// "<Name>.lock" in the user's runtime directory, held until Release() or
/// destruction. A lock whose owner cannot be shown to be running (a process
/// that ended, an empty or unreadable file, anything that is not a regular
/// file) is taken over, so a crash never blocks the next start. The lock of a
/// running process never goes stale by age. Only a regular file is ever
/// opened, so nothing found at the lock's path can block the start, even when
/// it appears there while the lock is being taken. The file holds the lines a
/// QLockFile would write (process id, program, host, machine id, boot id).
class TInstanceLock
{
public:
    /// Outcome of TryAcquire().
    enum class TResult {
        Acquired, // this object now holds the lock
        HeldByOther, // a running process (possibly this one) holds it: OwnerPid()
        Failed, // the lock file could not be created or taken over: ErrorString()
    };

    /// A lock named Name (see NameForProgram()), not yet taken; the file is
    /// "<Name>.lock" in the user's runtime directory.
    explicit TInstanceLock(const QString &Name);
    ~TInstanceLock();

    TInstanceLock(const TInstanceLock &) = delete;
    TInstanceLock &operator=(const TInstanceLock &) = delete;

    /// "KV_" + the file name part of the program path, backslashes made underscores.
    static QString NameForProgram(const QString &ProgramPath);

    /// The name given at construction.
    QString Name() const { return m_name; }
    /// Full path of the lock file.
    QString FilePath() const;

    /// Asked about the owner of a lock that looks alive, or that was written on
    /// another machine (shared home, cloned system), where its process cannot
    /// be looked up: false makes the lock stale. Without a check, a lock from
    /// another machine counts as held.
    using TOwnerCheck = std::function<bool(qint64 Pid)>;
    /// Installs the owner check (see TOwnerCheck); an empty one removes it.
    void SetOwnerCheck(TOwnerCheck Check) { m_ownerCheck = std::move(Check); }

    /// Takes the lock unless a running process holds it; a stale lock is taken over.
    TResult TryAcquire();
    /// Whether this object holds the lock now.
    bool IsHeld() const;
    /// Gives the lock up (removes the file); does nothing when not held.
    void Release();
    /// The process holding the lock, after TryAcquire() gave HeldByOther.
    qint64 OwnerPid() const { return m_ownerPid; }
    /// Why TryAcquire() failed.
    QString ErrorString() const { return m_error; }

private:
    QString m_name;
    QString m_filePath;
    int m_fd = -1; // the lock file this object made, open while it is held
    TOwnerCheck m_ownerCheck;
    qint64 m_ownerPid = 0;
    QString m_error;
};
