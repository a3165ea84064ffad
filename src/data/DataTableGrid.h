#pragma once

#include <QTableView>

#include "data/DataTableLayout.h"

class DataTableGridDelegate;
class DataTableModel;
struct TMeasurementSet;

/// A data table (StringGridRfData, StringGridUsbData): a view over DataTableModel with the
/// headings in the header of the layout (top by time, left by sensor), range selection,
/// user-resizable columns and the pop-up item "Копировать". Header sections are never sized
/// to their contents, so a table of 100 000 measurements shows at once.
class DataTableGrid : public QTableView {
  Q_OBJECT

 public:
  enum class Page { Radio, Usb };

  explicit DataTableGrid(Page page, QWidget* parent = nullptr);

  Page page() const { return page_; }
  DataTableModel* tableModel() const { return model_; }
  DataTableGridDelegate* tableDelegate() const { return delegate_; }
  void setMeasurementSet(const TMeasurementSet* set);

  /// Rebuilds the table for a logger of the set in a layout, then sizes it.
  void Fill(int loggerIndex, DataTableView view);
  /// The sizing rule for the current width; also run on every resize.
  void ApplySizingRule();
  /// Puts the selected rectangle on the clipboard as tab-separated text.
  void CopySelectionToClipboard();
  /// The text CopySelectionToClipboard would put on the clipboard.
  QString SelectionText() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void fitDateRow();

  Page page_;
  DataTableModel* model_;
  DataTableGridDelegate* delegate_;
};
