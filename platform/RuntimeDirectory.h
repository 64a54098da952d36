#pragma once

#include <QString>

// The user's runtime directory (created when missing), where the message
// endpoints and the instance lock live; the temporary directory without one.
QString RuntimeDirectory();
