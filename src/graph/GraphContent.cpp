#include "graph/GraphContent.h"

#include <algorithm>

#include "app/DateTimeValue.h"
#include "graph/GraphLine.h"

GraphContent::GraphContent(const Clock& clock, QObject* parent) : QObject(parent), clock_(clock) {}

GraphContent::~GraphContent() {
  for (TGraphLine* line : lines_) line->chart_ = nullptr;
}

void GraphContent::attach(TGraphLine* line) {
  if (!line || line->chart_ == this) return;
  if (line->chart_) line->chart_->detach(line);
  line->chart_ = this;
  line->dataDirty_ = true;
  lines_.push_back(line);
  emit linesChanged();
}

void GraphContent::detach(TGraphLine* line) {
  const auto it = std::find(lines_.begin(), lines_.end(), line);
  if (it == lines_.end()) return;
  line->chart_ = nullptr;
  lines_.erase(it);
  emit linesChanged();
}

void GraphContent::detachAll() {
  if (lines_.empty()) return;
  for (TGraphLine* line : lines_) line->chart_ = nullptr;
  lines_.clear();
  emit linesChanged();
}

GraphKind GraphContent::kind() const {
  if (bottomTitle == TimeAxisTitle) return GraphKind::Time;
  if (bottomTitle == TemperatureAxisTitle) return GraphKind::Sensor;
  return GraphKind::Other;
}

void GraphContent::setTimeGraph() {
  leftTitle = TemperatureAxisTitle + QLatin1Char('\n');
  bottomTitle = TimeAxisTitle;
}

void GraphContent::setSensorGraph() {
  leftTitle = SensorAxisTitle + QLatin1Char('\n');
  bottomTitle = TemperatureAxisTitle;
}

QString GraphContent::unitSuffix() const {
  QString title;
  switch (kind()) {
    case GraphKind::Time: title = leftTitle; break;
    case GraphKind::Sensor: title = bottomTitle; break;
    case GraphKind::Other: return {};
  }
  const int comma = title.indexOf(QLatin1Char(','));
  if (comma < 0) return {};
  QString suffix = title.mid(comma + 1);
  suffix.remove(QLatin1Char('\r'));
  suffix.remove(QLatin1Char('\n'));
  return suffix;
}

double GraphContent::now() const { return DateTimeValue::fromQDateTime(clock_.now()); }

std::optional<GraphExtents> GraphContent::visibleExtents() const {
  std::optional<GraphExtents> result;
  for (const TGraphLine* line : lines_) {
    if (!line->visible()) continue;
    const auto e = line->extents();
    if (!e) continue;
    if (result)
      result->widen(*e);
    else
      result = e;
  }
  return result;
}

void GraphContent::ViewAll() {
  scales.ViewAll(visibleExtents(), now());
  lineChanged();
}

bool GraphContent::trackLine(int trackingLine) {
  if (trackingLine < 1 || trackingLine > lineCount()) return false;
  const TGraphLine* line = lines_[static_cast<size_t>(trackingLine - 1)];
  if (line->count() == 0) return false;
  const int last = line->count() - 1;
  scales.trackPoint(line->xAt(last), line->yAt(last));
  lineChanged();
  return true;
}

void GraphContent::lineChanged() {
  if (pending_) return;
  pending_ = true;
  emit changed();
}
