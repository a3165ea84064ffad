#include "app/ProgramPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString withSeparator(const QString& folder) { return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'); }

QString gradusFolder(const QString& base, const QString& exeBase) {
  if (base.isEmpty()) return {};
  const QString f = withSeparator(base) + QStringLiteral("Gradus/") + exeBase;
  return QFileInfo(f).isDir() ? f : QString();
}

class StandardFolders final : public SystemFolders {
 public:
  QString commonAppData() const override {
    const QStringList dirs = QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation);
    return dirs.size() > 1 ? dirs.last() : QString();
  }
  QString userAppData() const override { return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation); }
  QString commonDocuments() const override { return {}; }
  QString userDocuments() const override { return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation); }
  QString userConfig() const override { return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation); }
  QString programFilePath() const override { return QCoreApplication::applicationFilePath(); }
};
}  // namespace

const SystemFolders& SystemFolders::standard() {
  static StandardFolders folders;
  return folders;
}

ProgramPaths ResolveProgramPaths(const SystemFolders& folders) {
  const QFileInfo exe(folders.programFilePath());
  const QString exeBase = exe.completeBaseName();
  const QString exeDir = withSeparator(exe.absolutePath());
  ProgramPaths paths;

  QString f = gradusFolder(folders.commonAppData(), exeBase);
  if (f.isEmpty()) f = gradusFolder(folders.userAppData(), exeBase);
  if (f.isEmpty() && !folders.userConfig().isEmpty()) {
    const QString own = withSeparator(folders.userConfig()) + QStringLiteral("Gradus/") + exeBase;
    if (QDir().mkpath(own)) f = own;
  }
  if (!f.isEmpty()) {
    paths.iniFileName = withSeparator(f) + exeBase + QStringLiteral(".ini");
    paths.deviceListDir = withSeparator(f);
  } else {
    paths.iniFileName = exeDir + exeBase + QStringLiteral(".ini");
    paths.deviceListDir = exeDir;
  }

  QString d = gradusFolder(folders.commonDocuments(), exeBase);
  if (d.isEmpty()) d = gradusFolder(folders.userDocuments(), exeBase);
  paths.dataFilesDir = d.isEmpty() ? exeDir.chopped(1) : d;
  return paths;
}
