#include "app/AboutDialog.h"

#include <QDesktopServices>
#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QUrl>
#include <QVBoxLayout>

#include "app/AboutTexts.h"

namespace {
// The maker's logo: a thermal string going down into frozen ground.
QPixmap logo() {
  QPixmap pm(33, 33);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.setBrush(QColor(0x1f, 0x4e, 0x8c));
  p.setPen(Qt::NoPen);
  p.drawRoundedRect(0, 0, 33, 33, 6, 6);
  p.setBrush(QColor(0xd8, 0xe8, 0xf8));
  p.drawRect(4, 20, 25, 9);
  p.setPen(QPen(Qt::white, 2));
  p.drawLine(16, 4, 16, 27);
  p.setBrush(QColor(0xff, 0x80, 0x40));
  p.setPen(Qt::NoPen);
  for (int y : {8, 15, 22}) p.drawEllipse(QPoint(16, y), 3, 3);
  return pm;
}
}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent, Qt::Tool) {
  setObjectName(QStringLiteral("FormAbout"));
  setWindowTitle(QStringLiteral("О программе..."));
  setFixedSize(221, 220);
  setStyleSheet(QStringLiteral("AboutDialog { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f4f8fc, stop:1 #dce8f4); }"));

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->setSpacing(4);

  auto* head = new QHBoxLayout;
  auto* logoLabel = new QLabel;
  logoLabel->setPixmap(logo());
  logoLabel->setFixedSize(33, 33);
  logoLabel->setScaledContents(true);
  auto* maker = new QLabel(Maker::kName);
  maker->setWordWrap(true);
  QFont bold = maker->font();
  bold.setBold(true);
  maker->setFont(bold);
  head->addWidget(logoLabel);
  head->addWidget(maker, 1);
  layout->addLayout(head);

  auto* title = new QLabel(QStringLiteral("Программа Tundrabase для обслуживания логгеров"));
  title->setWordWrap(true);
  title->setAlignment(Qt::AlignCenter);
  title->setFont(bold);
  title->setStyleSheet(QStringLiteral("color: navy;"));
  layout->addWidget(title);

  const AboutTexts texts = AboutTexts::fromVersion(AboutTexts::programVersion());
  auto* version = new QLabel(texts.version);
  version->setObjectName(QStringLiteral("LabelVersion"));
  auto* build = new QLabel(texts.build);
  build->setObjectName(QStringLiteral("LabelBuildVersion"));
  for (QLabel* l : {version, build}) {
    l->setStyleSheet(QStringLiteral("color: navy;"));
    l->setAlignment(Qt::AlignCenter);
    layout->addWidget(l);
  }

  auto* address = new QLabel(Maker::kAddress);
  address->setAlignment(Qt::AlignCenter);
  layout->addWidget(address);
  layout->addWidget(makeLink(Maker::kUrl, Maker::kUrl, QStringLiteral("Открыть интернет-сайт в браузере"),
                             QStringLiteral("LabelURL")));
  layout->addWidget(makeLink(Maker::kEmail, QStringLiteral("mailto:") + Maker::kEmail,
                             QStringLiteral("Написать письмо"), QStringLiteral("LabelEmail")));
  layout->addStretch();
}

QLabel* AboutDialog::makeLink(const QString& text, const QString& url, const QString& hint, const QString& name) {
  auto* label = new QLabel(text);
  label->setObjectName(name);
  label->setToolTip(hint);
  label->setAlignment(Qt::AlignCenter);
  label->setCursor(Qt::PointingHandCursor);
  label->setProperty("url", url);
  label->setStyleSheet(QStringLiteral("color: #404040;"));
  label->installEventFilter(this);
  return label;
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
  auto* label = qobject_cast<QLabel*>(watched);
  if (label && label->property("url").isValid()) {
    switch (event->type()) {
      case QEvent::Enter:
        label->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
        break;
      case QEvent::Leave:
        label->setStyleSheet(QStringLiteral("color: #404040;"));
        break;
      case QEvent::MouseButtonRelease:
        QDesktopServices::openUrl(QUrl(label->property("url").toString()));
        return true;
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
  event->accept();
  accept();
}
