#include "graph/GraphLine.h"

#include <algorithm>
#include <numeric>

#include "graph/GraphContent.h"

TGraphLine::TGraphLine(GraphLineKind kind, QString title, TColor colour)
    : kind_(kind), title_(std::move(title)), colour_(colour) {}

TGraphLine::~TGraphLine() {
  if (chart_) chart_->detach(this);
}

void TGraphLine::setTitle(const QString& title) {
  if (title == title_) return;
  title_ = title;
  changed(false);
}

void TGraphLine::setColour(TColor colour) {
  if (colour == colour_) return;
  colour_ = colour;
  changed(false);
}

void TGraphLine::setVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  changed(false);
}

void TGraphLine::addPoint(double x, double y) {
  const double key = kind_ == GraphLineKind::Time ? x : y;
  const double value = kind_ == GraphLineKind::Time ? y : x;
  if (keys_.empty()) {
    minValue_ = maxValue_ = value;
  } else {
    minValue_ = std::min(minValue_, value);
    maxValue_ = std::max(maxValue_, value);
    // Equal keys keep their arrival order.
    if (key < keys_.back()) sorted_ = false;
  }
  keys_.push_back(key);
  values_.push_back(value);
  changed(true);
}

void TGraphLine::clearPoints() {
  if (keys_.empty()) return;
  keys_.clear();
  values_.clear();
  sorted_ = true;
  changed(true);
}

void TGraphLine::sortPoints() const {
  if (sorted_) return;
  std::vector<size_t> order(keys_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [this](size_t a, size_t b) { return keys_[a] < keys_[b]; });
  std::vector<double> k(keys_.size()), v(values_.size());
  for (size_t i = 0; i < order.size(); ++i) {
    k[i] = keys_[order[i]];
    v[i] = values_[order[i]];
  }
  keys_.swap(k);
  values_.swap(v);
  sorted_ = true;
}

const std::vector<double>& TGraphLine::keys() const {
  sortPoints();
  return keys_;
}

const std::vector<double>& TGraphLine::values() const {
  sortPoints();
  return values_;
}

double TGraphLine::xAt(int i) const {
  sortPoints();
  return kind_ == GraphLineKind::Time ? keys_[static_cast<size_t>(i)] : values_[static_cast<size_t>(i)];
}

double TGraphLine::yAt(int i) const {
  sortPoints();
  return kind_ == GraphLineKind::Time ? values_[static_cast<size_t>(i)] : keys_[static_cast<size_t>(i)];
}

std::optional<GraphExtents> TGraphLine::extents() const {
  if (keys_.empty()) return std::nullopt;
  sortPoints();
  const double k0 = keys_.front(), k1 = keys_.back();
  if (kind_ == GraphLineKind::Time) return GraphExtents{k0, k1, minValue_, maxValue_};
  return GraphExtents{minValue_, maxValue_, k0, k1};
}

void TGraphLine::changed(bool data) {
  if (data) dataDirty_ = true;
  if (chart_) chart_->lineChanged();
}
