#pragma once

#include <QString>

// The user's runtime directory, where the message endpoints and the instance
// lock live. Without one, a private directory of this user in the user's cache
// directory; empty when no private place can be had. Never a directory other
// users can write to, nor one where nothing can be made.
QString RuntimeDirectory();

// base/name created when missing and made private (owner only). Empty when it
// exists but is not a directory of this user, or cannot be made private.
QString PrivateDirectory(const QString &base, const QString &name);
