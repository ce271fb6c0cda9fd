#include "window/qt/window_style.h"

#include <qdrawutil.h>

#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace tavrin {
namespace {

// Where a frame's caption starts, and the room the frame line leaves on either side of it.
constexpr int kCaptionLeft = 6;
constexpr int kCaptionPadding = 2;
// Between the frame line and what the frame holds.
constexpr int kContentsMargin = 3;

}  // namespace

WindowStyle::WindowStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int WindowStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
  if (metric == PM_TabBarTabHSpace) return 12;
  return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect WindowStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                                  const QWidget* widget) const {
  const auto* frame = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || frame == nullptr)
    return QProxyStyle::subControlRect(control, option, part, widget);
  const QFontMetrics& metrics = frame->fontMetrics;
  const int caption_height = frame->text.isEmpty() ? 0 : metrics.height();
  switch (part) {
    case SC_GroupBoxFrame:
      // The top line runs through the middle of the caption.
      return frame->rect.adjusted(0, caption_height / 2, 0, 0);
    case SC_GroupBoxLabel: {
      if (frame->text.isEmpty()) return {};
      const int text_width = metrics.size(Qt::TextShowMnemonic, frame->text).width();
      const QRect label(frame->rect.left() + kCaptionLeft, frame->rect.top(),
                        text_width + 2 * kCaptionPadding, caption_height);
      return visualRect(frame->direction, frame->rect, label);
    }
    case SC_GroupBoxContents:
      return frame->rect.adjusted(kContentsMargin, std::max(caption_height, kContentsMargin),
                                  -kContentsMargin, -kContentsMargin);
    case SC_GroupBoxCheckBox:
      return {};  // frames here are never checkable
    default:
      return QProxyStyle::subControlRect(control, option, part, widget);
  }
}

void WindowStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
  const auto* frame = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
  if (control != CC_GroupBox || frame == nullptr) {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    return;
  }
  const QRect line = subControlRect(CC_GroupBox, frame, SC_GroupBoxFrame, widget);
  const QRect label = subControlRect(CC_GroupBox, frame, SC_GroupBoxLabel, widget);
  painter->save();
  // The line gives way to the caption: what is behind the frame shows there.
  if (!label.isEmpty()) painter->setClipRegion(QRegion(frame->rect).subtracted(label));
  qDrawShadeRect(painter, line, frame->palette, true, 1, 0);
  painter->restore();
  if (!label.isEmpty()) {
    int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    if (!styleHint(SH_UnderlineShortcut, frame, widget)) flags |= Qt::TextHideMnemonic;
    drawItemText(painter, label, flags, frame->palette, frame->state & State_Enabled, frame->text,
                 QPalette::WindowText);
  }
}

}  // namespace tavrin
