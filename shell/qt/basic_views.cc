#include "shell/qt/basic_views.h"

#include <qdrawutil.h>
#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QToolButton>

#include <algorithm>

#include "host/ui/application.h"
#include "host/ui/buttons.h"
#include "host/ui/containers.h"
#include "host/ui/static_controls.h"
#include "shell/qt/glyphs.h"
#include "shell/qt/qt_text.h"

namespace shell {

namespace {

// Paints a panel the way the model describes it: an outer bevel, a border, an inner bevel,
// and the caption in the middle.
class PanelFrame : public QWidget {
 public:
  PanelFrame(QWidget* parent, const ui::Panel& panel) : QWidget(parent), panel_(&panel) {}
  void forget() { panel_ = nullptr; }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (panel_ == nullptr)
      return;
    QPainter painter(this);
    QRect r = rect();
    auto bevel = [&](ui::Bevel kind) {
      if (kind == ui::Bevel::None)
        return;
      qDrawShadeRect(&painter, r, palette(), kind == ui::Bevel::Lowered, 1);
      r.adjust(1, 1, -1, -1);
    };
    bevel(panel_->bevelOuter());
    r.adjust(panel_->borderWidth(), panel_->borderWidth(), -panel_->borderWidth(),
             -panel_->borderWidth());
    bevel(panel_->bevelInner());
    if (!panel_->caption().empty()) {
      painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                     QPalette::WindowText));
      painter.drawText(r, Qt::AlignCenter, plainCaption(panel_->caption()));
    }
  }

 private:
  const ui::Panel* panel_;
};

Qt::Alignment alignmentOf(ui::TextAlign align) {
  switch (align) {
    case ui::TextAlign::Right:
      return Qt::AlignRight | Qt::AlignTop;
    case ui::TextAlign::Center:
      return Qt::AlignHCenter | Qt::AlignTop;
    case ui::TextAlign::Left:
      break;
  }
  return Qt::AlignLeft | Qt::AlignTop;
}

}  // namespace

QWidget* PanelView::createWidget(QWidget* parentArea) {
  return new PanelFrame(parentArea, model<ui::Panel>());
}

void PanelView::release() {
  if (widget() != nullptr)
    static_cast<PanelFrame*>(widget())->forget();
  ControlView::release();
}

void PanelView::apply(ui::Property property) {
  if (property == ui::Property::Caption || property == ui::Property::Other) {
    widget()->update();
    return;
  }
  ControlView::apply(property);
}

QWidget* ScrollBoxView::createWidget(QWidget* parentArea) {
  auto* frame = new QFrame(parentArea);
  if (!model<ui::ScrollBox>().borderless())
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  return frame;
}

QWidget* GroupBoxView::createWidget(QWidget* parentArea) {
  return new QGroupBox(parentArea);
}

void GroupBoxView::apply(ui::Property property) {
  if (property == ui::Property::Caption) {
    static_cast<QGroupBox*>(widget())->setTitle(plainCaption(model<ui::GroupBox>().caption()));
    return;
  }
  ControlView::apply(property);
}

QWidget* LabelView::createWidget(QWidget* parentArea) {
  auto* label = new QLabel(parentArea);
  label->setTextFormat(Qt::PlainText);
  return label;
}

void LabelView::apply(ui::Property property) {
  auto* label = static_cast<QLabel*>(widget());
  const auto& model = this->model<ui::Label>();
  switch (property) {
    case ui::Property::Caption: {
      // The accelerator is underlined, as Alt and that letter focus the label's control.
      if (!model.showAccelChar()) {
        label->setTextFormat(Qt::PlainText);
        label->setText(toQString(model.caption()));
      } else {
        const QString html = acceleratorHtml(model.caption());
        label->setTextFormat(html.isEmpty() ? Qt::PlainText : Qt::RichText);
        label->setText(html.isEmpty() ? plainCaption(model.caption()) : html);
      }
      if (model.autoSize())
        place();
      fitCaption();
      break;
    }
    case ui::Property::Other:
      label->setAlignment(alignmentOf(model.alignment()));
      break;
    case ui::Property::Font:
      ControlView::apply(property);
      if (model.autoSize())
        place();
      fitCaption();
      break;
    case ui::Property::Bounds:
      ControlView::apply(property);
      fitCaption();
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

void LabelView::fitCaption() {
  constexpr qreal kSmallestPoints = 6;
  auto* label = static_cast<QLabel*>(widget());
  const auto& model = this->model<ui::Label>();
  if (model.autoSize())
    return;
  const QWidget* parent = label->parentWidget();
  QFont font = parent != nullptr ? parent->font() : QApplication::font();
  font.setBold(model.bold());
  const QString text =
      model.showAccelChar() ? plainCaption(model.caption()) : toQString(model.caption());
  const int room = label->width() - 2 * label->margin();
  while (QFontMetrics(font).horizontalAdvance(text) > room &&
         font.pointSizeF() - 0.5 >= kSmallestPoints) {
    font.setPointSizeF(font.pointSizeF() - 0.5);
  }
  if (label->font() != font)
    label->setFont(font);
}

QRect LabelView::adjustGeometry(const QRect& bounds) const {
  const auto& model = this->model<ui::Label>();
  if (!model.autoSize() || widget() == nullptr)
    return bounds;
  QRect r = bounds;
  const QSize wanted = widget()->sizeHint();
  r.setWidth(std::max(r.width(), wanted.width()));
  r.setHeight(std::max(r.height(), wanted.height()));
  return r;
}

QWidget* ImageView::createWidget(QWidget* parentArea) {
  auto* image = new QWidget(parentArea);
  image->hide();
  return image;
}

void ImageView::apply(ui::Property property) {
  if (property == ui::Property::Visible) {
    widget()->hide();
    return;
  }
  ControlView::apply(property);
}

QWidget* SpeedButtonView::createWidget(QWidget* parentArea) {
  auto* button = new QToolButton(parentArea);
  connect(button, &QToolButton::clicked, this, [this] {
    if (control() == nullptr)
      return;
    ui::Control& c = *control();
    deliverUserEvent([&c] { ui::application().click(c); });
  });
  return button;
}

void SpeedButtonView::apply(ui::Property property) {
  auto* button = static_cast<QToolButton*>(widget());
  const auto& model = this->model<ui::SpeedButton>();
  switch (property) {
    case ui::Property::Caption:
    case ui::Property::Picture:
    case ui::Property::Hint: {
      // A button without a glyph of its own shows the one its hint names ("Incluir").
      QIcon icon = glyphNamed(model.glyph());
      if (icon.isNull() && model.glyph().empty() && model.caption().empty())
        icon = glyphNamed(fromQString(toolTip()));
      button->setIcon(icon);
      QString text = toQString(model.caption());
      if (text.isEmpty() && icon.isNull())
        text = toQString(model.glyph());
      button->setText(text);
      button->setToolButtonStyle(text.isEmpty()  ? Qt::ToolButtonIconOnly
                                 : icon.isNull() ? Qt::ToolButtonTextOnly
                                                 : Qt::ToolButtonTextBesideIcon);
      button->setAutoRaise(model.flat());
      button->setToolTip(toolTip());
      break;
    }
    default:
      ControlView::apply(property);
      break;
  }
}

QString SpeedButtonView::toolTip() const {
  const std::string& hint = control()->hint();
  return toQString(hint.substr(0, hint.find('|')));
}

bool SpeedButtonView::mouseInput(QMouseEvent& /*event*/) {
  return false;  // the button shows its press and reports the click
}

QWidget* RadioButtonView::createWidget(QWidget* parentArea) {
  auto* radio = new QRadioButton(parentArea);
  radio->setAutoExclusive(false);
  connect(radio, &QRadioButton::clicked, this, [this] {
    if (control() == nullptr)
      return;
    ui::Control& c = *control();
    deliverUserEvent([&c] { ui::application().click(c); });
    update(ui::Property::Checked);
  });
  return radio;
}

void RadioButtonView::apply(ui::Property property) {
  auto* radio = static_cast<QRadioButton*>(widget());
  switch (property) {
    case ui::Property::Caption:
      radio->setText(toQString(model<ui::RadioButton>().caption()));
      break;
    case ui::Property::Checked:
      radio->setChecked(model<ui::RadioButton>().checked());
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

bool RadioButtonView::mouseInput(QMouseEvent& /*event*/) {
  return false;  // the button reports the click; its state is put back from the model
}

QWidget* GenericView::createWidget(QWidget* parentArea) {
  return new QWidget(parentArea);
}

}  // namespace shell
