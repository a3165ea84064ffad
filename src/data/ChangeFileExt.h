#pragma once

#include <QString>

/// fileName with the extension of its last path component replaced by ext (which carries
/// its dot, e.g. ".tmd"); a name without an extension gets ext appended. Only the last
/// component is looked at, so dots in folder names never count.
inline QString ChangeFileExt(const QString& fileName, const QString& ext) {
  const qsizetype slash = fileName.lastIndexOf(QLatin1Char('/'));
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  if (dot > slash) return fileName.left(dot) + ext;
  return fileName + ext;
}
