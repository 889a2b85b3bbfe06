#include "ui/linux/ControlWidgets.h"

#include "ui/linux/PictureImage.h"
#include "ui/linux/QtText.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tovrik::ui {

namespace {

constexpr Colour kDefaultFrameColour = 0xC0C0C0;

// A Windows colour (0x00BBGGRR) as Qt's.
QColor QtColour(Colour colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

// A plain one-pixel rectangle whose colour the program changes to mark the focused box.
class EditFrame final : public QWidget {
public:
    explicit EditFrame(QWidget* parent) : QWidget(parent) {}

    void SetColour(Colour colour) {
        m_colour = colour;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QtColour(m_colour));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

private:
    Colour m_colour = kDefaultFrameColour;
};

class PictureBox final : public QWidget {
public:
    explicit PictureBox(QWidget* parent) : QWidget(parent) {}

    void SetImage(QImage image) {
        m_image = std::move(image);
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        if (m_image.isNull()) {
            return;
        }
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize size = m_image.size().scaled(this->size(), Qt::KeepAspectRatio).boundedTo(m_image.size());
        const QRect target(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
        painter.drawImage(target, m_image);
    }

private:
    QImage m_image;
};

QWidget* CreateEdit(const ControlDecl& control, QWidget* parent) {
    if (control.multiLine) {
        auto* edit = new QPlainTextEdit(ToEditText(control.caption), parent);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        return edit;
    }
    auto* edit = new QLineEdit(ToQString(control.caption), parent);
    edit->setFrame(true);
    return edit;
}

QWidget* CreateWidget(const ControlDecl& control, QWidget* parent) {
    switch (control.kind) {
    case ControlKind::Label:
    case ControlKind::TransparentLabel: {
        auto* label = new QLabel(ToQString(control.caption), parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case ControlKind::Button:
        return new QPushButton(ToQString(control.caption), parent);
    case ControlKind::Edit:
        return CreateEdit(control, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(ToQString(control.caption), parent);
    case ControlKind::GroupBox:
        return new QGroupBox(ToQString(control.caption), parent);
    case ControlKind::EditFrame:
        return new EditFrame(parent);
    case ControlKind::PictureBox:
        return new PictureBox(parent);
    case ControlKind::StatusBar:
        return new QWidget(parent);
    case ControlKind::StatusPane: {
        auto* pane = new QFrame(parent);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        return pane;
    }
    case ControlKind::Menu:
    case ControlKind::MenuItem:
    case ControlKind::DropTarget:
        return nullptr;
    }
    return nullptr;
}

} // namespace

QWidget* CreateControlWidget(const ControlDecl& control, QWidget* parent) {
    QWidget* widget = CreateWidget(control, parent);
    if (widget != nullptr) {
        widget->setGeometry(control.rect.left, control.rect.top, control.rect.width, control.rect.height);
    }
    return widget;
}

Text ControlText(const NativeControl& control) {
    if (control.action != nullptr) {
        return FromQString(control.action->text());
    }
    QWidget* widget = control.widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return FromQString(edit->text());
    }
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        return FromEditText(edit->toPlainText());
    }
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        return FromQString(label->text());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        return FromQString(button->text());
    }
    if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        return FromQString(group->title());
    }
    return {};
}

void SetControlText(NativeControl& control, TextView text) {
    if (control.action != nullptr) {
        control.action->setText(ToQString(text));
        return;
    }
    QWidget* widget = control.widget;
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(ToQString(text));
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        edit->setPlainText(ToEditText(text));
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(ToQString(text));
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(ToQString(text));
    } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
        group->setTitle(ToQString(text));
    }
}

bool ControlChecked(const NativeControl& control) {
    auto* box = qobject_cast<QCheckBox*>(control.widget);
    return box != nullptr && box->isChecked();
}

void SetControlChecked(NativeControl& control, bool checked) {
    if (auto* box = qobject_cast<QCheckBox*>(control.widget)) {
        box->setChecked(checked);
    }
}

void SetControlPicture(NativeControl& control, BytesView image) {
    if (control.declaration == nullptr || control.declaration->kind != ControlKind::PictureBox) {
        return;
    }
    control.picture = Bytes(image);
    static_cast<PictureBox*>(control.widget)->SetImage(DecodePicture(image));
}

void SetControlBorderColour(NativeControl& control, Colour colour) {
    if (control.declaration != nullptr && control.declaration->kind == ControlKind::EditFrame) {
        static_cast<EditFrame*>(control.widget)->SetColour(colour);
    }
}

} // namespace tovrik::ui
