#pragma once

#include <QString>

/// The about box's version lines from the program's version text "major.minor.release.build"
/// (empty when the program carries no version).
struct AboutTexts {
  QString version;  ///< "Версия 643.48213975.00062-" + major, one-digit majors with a leading 0
  QString build;    ///< "Сборка " + the version text

  static AboutTexts fromVersion(const QString& versionText);
  /// The version of this build.
  static QString programVersion();
};

/// The maker shown in the about box.
namespace Maker {
inline const QString kName = QStringLiteral("НПП «Мерзлотные приборы»");
inline const QString kAddress = QStringLiteral("Россия, 677000, г. Якутск,\nул. Полярная, д. 1\nтел. +7 (4112) 00-00-00");
inline const QString kUrl = QStringLiteral("https://tundrabase.example.org");
inline const QString kEmail = QStringLiteral("support@tundrabase.example.org");
}  // namespace Maker
