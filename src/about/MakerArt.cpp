#include "about/MakerArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {
const QColor kDeepGreen(22, 74, 64);
const QColor kTeal(38, 128, 112);
const QColor kCream(246, 240, 222);
const QColor kGold(214, 170, 72);

// The mark: a harrow's two posts and a lane curving away between them, in a circle.
void DrawMark(QPainter& p, const QRectF& box) {
  const qreal s = box.width();
  QRadialGradient disc(box.center() - QPointF(s * 0.15, s * 0.15), s * 0.7);
  disc.setColorAt(0, kTeal.lighter(125));
  disc.setColorAt(1, kDeepGreen);
  p.setPen(QPen(kGold, s * 0.05));
  p.setBrush(disc);
  p.drawEllipse(box.adjusted(s * 0.03, s * 0.03, -s * 0.03, -s * 0.03));

  QPainterPath lane;
  lane.moveTo(box.left() + s * 0.32, box.bottom() - s * 0.12);
  lane.cubicTo(box.left() + s * 0.44, box.top() + s * 0.62, box.left() + s * 0.62,
               box.top() + s * 0.52, box.left() + s * 0.52, box.top() + s * 0.22);
  lane.lineTo(box.left() + s * 0.56, box.top() + s * 0.22);
  lane.cubicTo(box.left() + s * 0.72, box.top() + s * 0.52, box.left() + s * 0.60,
               box.top() + s * 0.66, box.left() + s * 0.68, box.bottom() - s * 0.12);
  lane.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kGold);
  p.drawPath(lane);

  p.setPen(QPen(kCream, s * 0.085, Qt::SolidLine, Qt::RoundCap));
  const qreal top = box.top() + s * 0.28;
  const qreal bottom = box.bottom() - s * 0.28;
  p.drawLine(QPointF(box.left() + s * 0.30, top), QPointF(box.left() + s * 0.30, bottom));
  p.drawLine(QPointF(box.right() - s * 0.30, top), QPointF(box.right() - s * 0.30, bottom));
  p.drawLine(QPointF(box.left() + s * 0.30, box.center().y()),
             QPointF(box.right() - s * 0.30, box.center().y()));
}
}  // namespace

QPixmap MakerBadge(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  DrawMark(p, QRectF(0, 0, size, size));
  return pixmap;
}

QPixmap MakerLogo() {
  const QSize size(400, 84);
  QPixmap pixmap(size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);

  QLinearGradient band(0, 0, size.width(), size.height());
  band.setColorAt(0, kDeepGreen);
  band.setColorAt(1, kTeal);
  p.setPen(Qt::NoPen);
  p.setBrush(band);
  p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), 10, 10);

  p.setPen(QPen(kGold, 2));
  p.drawLine(QPointF(92, size.height() - 18), QPointF(size.width() - 20, size.height() - 18));

  DrawMark(p, QRectF(14, 10, 64, 64));

  QFont name(QStringLiteral("DejaVu Serif"));
  name.setPixelSize(30);
  name.setBold(true);
  p.setFont(name);
  p.setPen(kCream);
  p.drawText(QRectF(92, 8, size.width() - 100, 40), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Harrow Lane"));

  QFont trade(QStringLiteral("DejaVu Sans"));
  trade.setPixelSize(13);
  trade.setLetterSpacing(QFont::AbsoluteSpacing, 5);
  p.setFont(trade);
  p.setPen(kGold.lighter(120));
  p.drawText(QRectF(94, 44, size.width() - 100, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("SOFTWARE"));
  return pixmap;
}
