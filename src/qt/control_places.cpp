#include "qt/control_places.hpp"

#include <QLabel>
#include <QPalette>
#include <QWidget>

#include "core/text.hpp"
#include "window/caption.hpp"

namespace orvane::qt {

namespace {
constexpr std::size_t kMaxShownBytes = 8000;

}  // namespace

std::string_view shownPart(const std::string& caption) {
  return text::leadingChars(caption, kMaxShownBytes);
}

// Plain text, which lays out at a
// fraction of rich text's cost, unless an "&" marks an access key to underline or a tab needs
// rich text's tab stops (plain text's stand elsewhere).
void showOnLabel(QLabel* label, std::string_view caption) {
  if (caption.find_first_of("&\t") == std::string_view::npos) {
    label->setTextFormat(Qt::PlainText);
    label->setText(QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())));
    return;
  }
  label->setTextFormat(Qt::RichText);
  label->setText(QStringLiteral("<span style=\"white-space:pre\">") +
                 QString::fromStdString(accessKeyHtml(std::string(caption))) +
                 QStringLiteral("</span>"));
}

void setBackground(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  p.setColor(QPalette::Window, colour);
  w->setPalette(p);
  w->setAutoFillBackground(true);
}

}  // namespace orvane::qt
