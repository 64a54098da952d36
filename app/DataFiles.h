#pragma once

#include <QString>

// Where the program's files are found: beside the program (the build tree, a
// copied folder), else in the installed tree's share folder next to its bin.
inline constexpr const char *kDataFolder = "share/cauchy";
inline constexpr const char *kDocFolder = "share/doc/cauchy";

// The path of the file `relative` beside the program, or of the same file in
// `installedFolder` (relative to the prefix above the program's folder), or
// empty when neither is a regular file. Beside the program a page of the
// documentation lives in doc/, installed in `kDocFolder`.
QString FindDataFile(const QString &relative, const char *installedFolder);
QString FindDocFile(const QString &page);
