#include "data/DataFileLoader.h"

#include <QFile>

#include "app/Clock.h"
#include "app/FileChooser.h"
#include "app/RegionalSettings.h"
#include "app/UserPrompt.h"
#include "data/DataFileHost.h"

namespace {
const QString kCrLf = QStringLiteral("\r\n");
}  // namespace

DataFileLoader::DataFileLoader(UserPrompt& prompt, DataFileHost& host, const Clock& clock)
    : prompt_(prompt), host_(host), clock_(clock) {}

bool DataFileLoader::IsDataFileName(const QString& fileName) {
  return fileName.size() >= 4 && fileName.right(3).toLower() == QStringLiteral("tmd");
}

QString DataFileLoader::UnsupportedText(const QString& fileName) {
  return QStringLiteral("Файл ") + fileName + QStringLiteral(" не поддерживается!");
}

QString DataFileLoader::AccessDeniedText(const QString& fileName, const Clock& clock) {
  const QString time = RegionalSettings::locale().toString(clock.now().time(), RegionalSettings::longTimeFormat());
  return time + QStringLiteral(" > Отказано в доступе к ") + fileName + QLatin1Char('!');
}

QString DataFileLoader::CriticalErrorText(const QString& fileName) {
  return QStringLiteral("Критическая ошибка при загрузке файла ") + fileName + kCrLf +
         QStringLiteral("Игнорировать и продолжить?");
}

QString DataFileLoader::DamagedText(const QString& fileName, int damagedCount) {
  return QStringLiteral("Файл ") + fileName + kCrLf + QStringLiteral("содержит поврежденные записи (") +
         QString::number(damagedCount) + QStringLiteral(").") + kCrLf + QStringLiteral("Игнорировать и продолжить?");
}

QString DataFileLoader::NoSignatureText(const QString& fileName) {
  return QStringLiteral("Файл ") + fileName + kCrLf + QStringLiteral("не имеет электронной подписи!") + kCrLf +
         QStringLiteral("Данные не имеют юридической силы.");
}

bool DataFileLoader::ReadWholeFile(const QString& fileName, QByteArray& bytes, bool& readComplete, QString& error) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    error = file.errorString();
    return false;
  }
  bytes = file.readAll();
  readComplete = file.error() == QFileDevice::NoError;
  if (!readComplete) error = file.errorString();
  return true;
}

void DataFileLoader::ActionDataFileOpen(FileChooser& chooser, const QString& dataFilesDir) {
  FileChooser::Request request;
  request.folder = dataFilesDir;
  request.filter = QStringLiteral("Файл данных (*.tmd *.TMD)");
  request.defaultSuffix = QStringLiteral("tmd");
  const QString name = chooser.openFileName(request);
  if (!name.isEmpty()) DataFileOpen(name);
}

DataFileLoader::Outcome DataFileLoader::DataFileOpen(const QString& fileName) {
  if (!IsDataFileName(fileName)) {
    prompt_.error(UnsupportedText(fileName));
    return Outcome::Refused;
  }
  DataFileContent content;
  {
    QByteArray bytes;
    bool complete = false;
    QString reason;
    if (!ReadWholeFile(fileName, bytes, complete, reason)) {
      prompt_.error(AccessDeniedText(fileName, clock_));
      return Outcome::NotOpened;
    }
    content = DataFileParser(clock_.now().date().year() / 100 * 100)
                  .parse(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    if (!complete) content.endReached = false;
  }

  const bool dataSeen = content.radioTaken || content.usbFile;
  if (dataSeen) host_.setBusyCursor(true);
  // The mode switches happen in file order: a radio part can only come before a USB one.
  const int radioLoggerCount = static_cast<int>(content.radioLoggers.size());
  if (content.radioTaken) {
    if (host_.radioConnectedIdle()) host_.disconnectComPort();
    host_.setRadioStateFileData();
    host_.rfLoggers().clear();
    host_.showLoggerList(false);
    host_.rfLoggers() = std::move(content.radioLoggers);
    host_.radioSet() = std::move(content.radioSet);
  }
  if (content.usbFile) {
    if (host_.usbReady()) host_.disconnectUsb();
    host_.setUsbStateFileData();
    host_.clearUsbDataAll();
    host_.usbSet() = std::move(content.usbSet);
    host_.setUsbFileImage(content.usbHeader);
  }

  bool keep = true;
  if (!content.endReached) {
    keep = prompt_.question(CriticalErrorText(fileName));
  } else {
    if (content.damagedCount > 0) keep = prompt_.question(DamagedText(fileName, content.damagedCount));
    if (!content.signatureOk) prompt_.warning(NoSignatureText(fileName));
  }
  if (dataSeen) host_.setBusyCursor(false);

  if (!keep) {
    if (content.usbFile) {
      host_.clearUsbDataAll();
      host_.dropUsbImage();
    } else if (content.radioTaken) {
      // The loggers read stay in the list; only their data go.
      host_.radioSet().clear();
    }
    host_.updateControls();
    return Outcome::Discarded;
  }
  if (content.usbFile) {
    host_.showUsbPage();
    host_.updateControls();
  } else if (radioLoggerCount > 0) {
    host_.showRadioData();
    host_.showRadioPage();
    host_.updateControls();
  }
  return Outcome::Kept;
}
