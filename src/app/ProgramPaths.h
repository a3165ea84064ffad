#pragma once

#include <QString>

/// Where the program keeps its settings file and which folders its file dialogs offer first.
struct ProgramPaths {
  QString iniFileName;
  QString deviceListDir;  ///< with a trailing separator
  QString dataFilesDir;   ///< without a trailing separator
};

/// The system folders the path rules consult; the real one asks QStandardPaths, tests give
/// their own. An empty answer means the system has no such folder.
class SystemFolders {
 public:
  virtual ~SystemFolders() = default;
  virtual QString commonAppData() const = 0;
  virtual QString userAppData() const = 0;
  virtual QString commonDocuments() const = 0;
  virtual QString userDocuments() const = 0;
  /// Folder for the settings file when no application-data folder of ours exists.
  virtual QString userConfig() const = 0;
  virtual QString programFilePath() const = 0;

  /// Linux: /etc/xdg and ~/.local/share for the application data, no common documents
  /// folder, ~/Documents, ~/.config, and the running program.
  static const SystemFolders& standard();
};

/// Resolves the paths at start-up. The folders "Gradus/<program>" below the application-data
/// and documents folders belong to an installation: they are only tested for existence,
/// never created. When neither application-data folder has one, the settings file goes to
/// the per-user config folder "Gradus/<program>/", which is created, because the program's
/// own folder is read-only on this platform.
ProgramPaths ResolveProgramPaths(const SystemFolders& folders);
