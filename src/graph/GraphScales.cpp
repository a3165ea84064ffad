#include "graph/GraphScales.h"

#include <algorithm>
#include <cmath>

#include "app/Rounding.h"

void GraphExtents::widen(const GraphExtents& o) {
  minX = std::min(minX, o.minX);
  maxX = std::max(maxX, o.maxX);
  minY = std::min(minY, o.minY);
  maxY = std::max(maxY, o.maxY);
}

QString TimeLabelPattern(double stepSeconds) {
  if (stepSeconds <= 60) return QStringLiteral("hh:nn:ss");
  if (stepSeconds <= 21600) return QStringLiteral("hh:nn");
  if (stepSeconds <= 86400) return QStringLiteral("dd/mm hh:nn");
  return QStringLiteral("dd/mm/yyyy");
}

namespace {

QChar firstSeparator(const QString& format, QChar fallback) {
  for (QChar c : format)
    if (!c.isLetter() && c != QLatin1Char('\'') && !c.isSpace()) return c;
  return fallback;
}

}  // namespace

QString TimeLabelFormat(double stepSeconds, const QLocale& locale) {
  const QChar dateSep = firstSeparator(locale.dateFormat(QLocale::ShortFormat), QLatin1Char('.'));
  const QChar timeSep = firstSeparator(locale.timeFormat(QLocale::LongFormat), QLatin1Char(':'));
  const QString pattern = TimeLabelPattern(stepSeconds);
  QString out;
  for (int i = 0; i < pattern.size();) {
    const QStringView rest = QStringView(pattern).mid(i);
    if (rest.startsWith(u"yyyy")) {
      out += QStringLiteral("yyyy");
      i += 4;
    } else if (rest.startsWith(u"hh")) {
      out += QStringLiteral("HH");
      i += 2;
    } else if (rest.startsWith(u"nn")) {
      out += QStringLiteral("mm");
      i += 2;
    } else if (rest.startsWith(u"mm")) {
      out += QStringLiteral("MM");
      i += 2;
    } else if (rest.startsWith(u"dd") || rest.startsWith(u"ss")) {
      out += rest.left(2);
      i += 2;
    } else {
      const QChar c = pattern[i++];
      const QChar sep = c == QLatin1Char('/') ? dateSep : c == QLatin1Char(':') ? timeSep : c;
      if (sep.isLetter())
        out += QLatin1Char('\'') + QString(sep) + QLatin1Char('\'');
      else
        out += sep;
    }
  }
  return out;
}

QString FormatGraphValue(double value, const QLocale& locale) {
  const double rounded = std::round(value * 1000.0) / 1000.0;
  if (rounded == 0 || !std::isfinite(rounded)) return rounded == 0 ? QStringLiteral("0") : locale.toString(value);
  QString s = locale.toString(rounded, 'f', 3);
  const QString point = locale.decimalPoint();
  const int dot = s.lastIndexOf(point);
  if (dot >= 0) {
    int end = s.size();
    while (end > dot + point.size() && s[end - 1] == locale.zeroDigit().at(0)) --end;
    if (end == dot + point.size()) end = dot;
    s.truncate(end);
  }
  return s;
}

namespace {

// Finds the finest step whose `count` steps (with a small margin) still cover span, from
// the last index down. Returns -1 when even step 0 is too fine.
template <size_t N>
int fitIndex(const std::array<double, N>& steps, double unit, double factor, double span) {
  int index = static_cast<int>(N) - 1;
  while (index >= 0 && steps[static_cast<size_t>(index)] / unit * factor < span) --index;
  return index;
}

AxisRange snapped(const AxisRange& r, double step, int halfSteps) {
  const double centre = static_cast<double>(RoundHalfEven(((r.max + r.min) / 2) / step)) * step;
  return {centre - halfSteps * step, centre + halfSteps * step};
}

}  // namespace

bool GraphScales::ApplyXScale(bool fit) {
  if (fit) {
    const int index = fitIndex(XScaleSteps, SecondsPerDay, 6.001, x.span());
    if (index < 0) {
      XScaleIndex = 0;
      zoomOutXEnabled = false;
      zoomInXEnabled = true;
      return false;
    }
    XScaleIndex = index;
  }
  zoomInXEnabled = XScaleIndex < XScaleLast;
  zoomOutXEnabled = XScaleIndex > 0;
  x = snapped(x, xStep(), 3);
  return true;
}

bool GraphScales::ApplyYScale(bool fit) {
  if (fit) {
    const int index = fitIndex(YScaleSteps, 1.0, 10.001, y.span());
    if (index < 0) {
      YScaleIndex = 0;
      zoomOutYEnabled = false;
      zoomInYEnabled = true;
      return false;
    }
    YScaleIndex = index;
  }
  zoomInYEnabled = YScaleIndex < YScaleLast;
  zoomOutYEnabled = YScaleIndex > 0;
  y = snapped(y, yStep(), 5);
  return true;
}

void GraphScales::AdjustXScaleIndex() {
  const AxisRange keep = x;
  ApplyXScale(true);
  x = keep;
}

void GraphScales::AdjustYScaleIndex() {
  const AxisRange keep = y;
  ApplyYScale(true);
  y = keep;
}

void GraphScales::zoomInX() {
  AdjustXScaleIndex();
  if (XScaleIndex < XScaleLast) {
    ++XScaleIndex;
    zoomOutXEnabled = true;
    ApplyXScale(false);
  } else {
    zoomInXEnabled = false;
  }
}

void GraphScales::zoomOutX() {
  AdjustXScaleIndex();
  if (XScaleIndex > 0) {
    --XScaleIndex;
    zoomInXEnabled = true;
    ApplyXScale(false);
  } else {
    zoomOutXEnabled = false;
  }
}

void GraphScales::zoomInY() {
  AdjustYScaleIndex();
  if (YScaleIndex < YScaleLast) {
    ++YScaleIndex;
    zoomOutYEnabled = true;
    ApplyYScale(false);
  } else {
    zoomInYEnabled = false;
  }
}

void GraphScales::zoomOutY() {
  AdjustYScaleIndex();
  if (YScaleIndex > 0) {
    --YScaleIndex;
    zoomInYEnabled = true;
    ApplyYScale(false);
  } else {
    zoomOutYEnabled = false;
  }
}

void GraphScales::wheel(bool forward) {
  if (forward) {
    zoomInX();
    zoomInY();
  } else {
    zoomOutX();
    zoomOutY();
  }
}

void GraphScales::panUp() {
  const double d = yStep() * 0.1;
  y = {y.min - d, y.max - d};
}

void GraphScales::panDown() {
  const double d = yStep() * 0.1;
  y = {y.min + d, y.max + d};
}

void GraphScales::panRight() {
  const double d = xStep() * 0.1;
  x = {x.min - d, x.max - d};
}

void GraphScales::panLeft() {
  const double d = xStep() * 0.1;
  x = {x.min + d, x.max + d};
}

void GraphScales::SetXAxisParameter(double now) {
  XScaleIndex = 23;
  const double tenSeconds = 10.0 / SecondsPerDay;
  const double c = static_cast<double>(RoundHalfEven(now / tenSeconds)) * tenSeconds;
  x = {c - 50.0 / SecondsPerDay, c + 10.0 / SecondsPerDay};
}

void GraphScales::DefaultGraphicScale(double now) {
  YScaleIndex = 6;
  SetXAxisParameter(now);
  y = {-1, 1};
  ApplyXScale(false);
  ApplyYScale(false);
  ApplyXScale(true);
  ApplyYScale(true);
  TrackingCentred = false;
}

void GraphScales::ViewAll(const std::optional<GraphExtents>& e, double now) {
  if (!e) {
    DefaultGraphicScale(now);
    return;
  }
  const double spanX = std::max(e->maxX - e->minX, 20.0 / SecondsPerDay);
  x = {e->minX - spanX / 10, e->maxX + spanX / 10};
  const double spanY = std::max(e->maxY - e->minY, 0.005);
  y = {e->minY - spanY / 10, e->maxY + spanY / 10};
  ApplyXScale(true);
  ApplyYScale(true);
}

void GraphScales::RestoreYAxis(double savedMin, double savedMax) {
  const double span = savedMax - savedMin;
  for (int i = 0; i <= YScaleLast; ++i) {
    if (YScaleSteps[static_cast<size_t>(i)] < span / 10) {
      YScaleIndex = std::max(0, i - 1);
      break;
    }
  }
  const double step = yStep();
  const double c = static_cast<double>(RoundHalfEven(((savedMax + savedMin) / 2) / step)) * step;
  y = {c - 5 * step, c + 5 * step};
}

void GraphScales::trackPoint(double px, double py) {
  const double xs = xStep();
  const double xc = static_cast<double>(RoundHalfEven(px / xs)) * xs;
  if (px >= x.max)
    x = {xc - 5 * xs, xc + xs};
  else if (px <= x.min)
    x = {xc - xs, xc + 5 * xs};

  const double ys = yStep();
  const double yc = static_cast<double>(RoundHalfEven(py / ys)) * ys;
  if (!TrackingCentred) {
    y = {yc - 5 * ys, yc + 5 * ys};
    TrackingCentred = true;
  } else if (py >= y.max) {
    y = {yc - 9 * ys, yc + ys};
  } else if (py <= y.min) {
    y = {yc - ys, yc + 9 * ys};
  }
}
