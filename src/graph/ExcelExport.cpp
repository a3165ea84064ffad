#include "graph/ExcelExport.h"

#include <QFileInfo>
#include <algorithm>
#include <exception>

#include "app/Clock.h"
#include "app/FileChooser.h"
#include "app/RegionalSettings.h"
#include "app/UserPrompt.h"
#include "data/ChangeFileExt.h"
#include "data/DayCount.h"
#include "graph/XlsWriter.h"
#include "radio/RfLogger.h"

ExcelExport::ExcelExport(FileChooser& chooser, UserPrompt& prompt, XlsExportView& view, const Clock& clock)
    : chooser_(chooser), prompt_(prompt), view_(view), clock_(clock) {}

bool ExcelExport::HasExportData(DataPage page, const TMeasurementSet& set, int logger) {
  switch (page) {
    case DataPage::Radio: return set.hasData(logger);
    case DataPage::Usb: return set.hasData(0) && set.measurementCount(0, 0) > 0;
    case DataPage::Settings: return true;
  }
  return false;
}

QString ExcelExport::MeasurementTimeText(double value) {
  const DayCount t = DayCount::split(value);
  return RegionalSettings::locale().toString(t.date, RegionalSettings::shortDateFormat()) +
         QStringLiteral(" %1:%2:%3")
             .arg(t.hour(), 2, 10, QLatin1Char('0'))
             .arg(t.minute(), 2, 10, QLatin1Char('0'))
             .arg(t.second(), 2, 10, QLatin1Char('0'));
}

void ExcelExport::WriteSheet(XlsWriter& w, DataPage page, const TMeasurementSet& set, int logger,
                             const QString& loggerId) {
  w.writeText(4, 1, QStringLiteral("Nomer zamera:"));
  w.writeText(5, 1, QStringLiteral("Data, vremya:"));
  w.writeText(6, 1, QStringLiteral("Datchik:"));
  if (page == DataPage::Settings || set.tkCount(logger) == 0) return;

  w.writeText(1, 1,
              QStringLiteral("Logger ") + ModelNameLat(loggerId) + QStringLiteral(" \"") + loggerId + QLatin1Char('"'));
  w.writeText(2, 1, QStringLiteral("Termokosa # ") + QString::number(set.TkSn[logger][0]));
  w.setColumnWidth(1, 1, 13);
  w.setColumnWidth(2, set.sensorCount(logger, 0) + 3, 17);

  // Every thermal string writes into the same cells; the last one written stays.
  for (int k = 0; k < set.tkCount(logger); ++k) {
    const auto& distances = set.Distance[logger][k];
    const bool quantities = set.TkType[logger][k] == 4;
    for (size_t s = 0; s < distances.size(); ++s) {
      const int label = SensorLabelNumber(distances[s]);
      w.writeText(7 + static_cast<int>(s), 1, quantities ? QuantityKindHeading(label) : QString::number(label));
    }
    const int count = std::min(set.measurementCount(logger, k), MaxMeasurements);
    const auto& series = set.Temp[logger][k];
    for (int m = 0; m < count; ++m) {
      w.writeInteger(4, m + 2, static_cast<uint16_t>(m + 1));
      w.writeText(5, m + 2, MeasurementTimeText(set.MeasTime[logger][k][m]));
      for (size_t s = 0; s < series.size(); ++s) {
        const int16_t value = series[s][m];
        if (value == NoTempValue)
          w.writeText(7 + static_cast<int>(s), m + 2, QByteArray());
        else
          w.writeNumber(7 + static_cast<int>(s), m + 2, value / 100.0);
      }
    }
  }
}

bool ExcelExport::ExportToXls(DataPage page, const TMeasurementSet& set, int logger, const QString& loggerId) {
  if (!HasExportData(page, set, logger)) {
    prompt_.warning(QStringLiteral("Нет данных для сохранения!"));
    return false;
  }
  FileChooser::Request request;
  request.folder = lastFileName_.isEmpty() ? QString() : QFileInfo(lastFileName_).absolutePath();
  request.fileName = lastFileName_.isEmpty() ? QString() : QFileInfo(lastFileName_).fileName();
  request.filter = QStringLiteral("*.xls (*.xls);;Все файлы (*)");
  const QString chosen = chooser_.saveFileName(request);
  if (chosen.isEmpty()) return false;
  const QString name = ChangeFileExt(chosen, QStringLiteral(".xls"));
  lastFileName_ = name;
  if (QFileInfo::exists(name) && !prompt_.question(QStringLiteral("Файл ") + name + QStringLiteral(" уже существует.") +
                                                   QStringLiteral("\r\n") + QStringLiteral("Заменить?")))
    return false;

  const auto stamp = [this] {
    return RegionalSettings::locale().toString(clock_.now().time(), RegionalSettings::longTimeFormat());
  };
  view_.setBusyCursor(true);
  bool saved = false;
  try {
    XlsWriter writer;
    writer.begin();
    writer.setFileName(name);
    WriteSheet(writer, page, set, logger, loggerId);
    writer.end();
    saved = writer.save();
    if (saved) {
      view_.addMemo1Line(stamp() + QStringLiteral(" > Файл ") + name + QStringLiteral(" сохранен"));
    } else {
      view_.addMemo1Line(stamp() + QStringLiteral(" > Файл ") + name + QStringLiteral(" занят другим приложением"));
      prompt_.error(QStringLiteral("Файл ") + name + QStringLiteral(" занят другим приложением!"));
    }
  } catch (const std::exception&) {
    view_.addMemo1Line(stamp() + QStringLiteral(" > Критическая ошибка при сохранении файла ") + name);
    prompt_.error(QStringLiteral("Критическая ошибка при сохранении файла ") + name + QLatin1Char('!'));
  }
  view_.setBusyCursor(false);
  return saved;
}
