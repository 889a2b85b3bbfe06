#include "ui/linux/NativeForm.h"

#include "ui/KeyMessages.h"
#include "ui/linux/KeyCodes.h"
#include "ui/linux/QtKeyboard.h"
#include "ui/linux/QtText.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace tovrik::ui {

namespace {

Qt::WindowFlags FormFlags(const FormDecl& form) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                            Qt::WindowCloseButtonHint;
    if (form.minimisable) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    if (form.resizable) {
        flags |= Qt::WindowMaximizeButtonHint;
    }
    return flags;
}

// Controls whose clicks Windows reports from the mouse rather than from a button's own action.
bool ClickedByMouse(ControlKind kind) {
    return kind == ControlKind::Label || kind == ControlKind::TransparentLabel || kind == ControlKind::PictureBox ||
           kind == ControlKind::StatusPane || kind == ControlKind::GroupBox;
}

std::vector<Text> LocalFiles(const QMimeData* data) {
    std::vector<Text> files;
    if (data == nullptr) {
        return files;
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            files.push_back(FromQString(url.toLocalFile()));
        }
    }
    return files;
}

} // namespace

NativeForm::NativeForm(FormId id, const FormDecl& declaration, EventSink& sink, QtKeyboard& keyboard,
                       std::function<void()> closeAccepted)
    : QWidget(nullptr, FormFlags(declaration)), m_id(id), m_declaration(declaration), m_sink(&sink),
      m_keyboard(keyboard), m_closeAccepted(std::move(closeAccepted)) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setWindowTitle(ToQString(m_declaration.caption));
    SetOuterRect(m_declaration.rect);
    BuildControls();
}

EventSink* NativeForm::Detach() {
    return std::exchange(m_sink, nullptr);
}

void NativeForm::Raise(const Event& event) {
    if (m_sink != nullptr) {
        m_sink->OnEvent(event);
    }
}

NativeControl* NativeForm::Find(TextView name) {
    const auto found = m_controls.find(name);
    return found != m_controls.end() ? &found->second : nullptr;
}

const NativeControl* NativeForm::Find(TextView name) const {
    const auto found = m_controls.find(name);
    return found != m_controls.end() ? &found->second : nullptr;
}

bool NativeForm::CaptureKeys(TextView name) {
    NativeControl* control = Find(name);
    if (control == nullptr || control->declaration->kind != ControlKind::Edit) {
        return false;
    }
    control->keysCaptured = true;
    // Typing, pasting and composing no longer change the text; the program sets it.
    control->widget->setContextMenuPolicy(Qt::NoContextMenu);
    control->widget->setAttribute(Qt::WA_InputMethodEnabled, false);
    control->widget->setAcceptDrops(false);
    return true;
}

Rect NativeForm::OuterRect() const {
    return {x(), y(), width() + kFrameLeft + kFrameRight, height() + kFrameTop + kFrameBottom};
}

void NativeForm::SetOuterRect(const Rect& rect) {
    move(rect.left, rect.top);
    const QSize client(std::max(1, rect.width - kFrameLeft - kFrameRight),
                       std::max(1, rect.height - kFrameTop - kFrameBottom));
    if (m_declaration.resizable) {
        resize(client);
    } else {
        setFixedSize(client);
    }
}

void NativeForm::BuildControls() {
    for (const ControlDecl& declaration : m_declaration.controls) {
        NativeControl control{.declaration = &declaration};
        switch (declaration.kind) {
        case ControlKind::Menu:
            control.menu = new QMenu(this);
            break;
        case ControlKind::MenuItem: {
            NativeControl* menu = Find(declaration.parent);
            if (menu != nullptr && menu->menu != nullptr) {
                control.action = menu->menu->addAction(ToQString(declaration.caption));
            }
            break;
        }
        case ControlKind::DropTarget:
            m_dropTarget = declaration.name;
            setAcceptDrops(true);
            break;
        default:
            control.widget = CreateControlWidget(declaration, ParentWidget(declaration));
            Connect(declaration.name, control.widget);
            break;
        }
        m_controls.emplace(declaration.name, std::move(control));
    }
    DropFramedEditBorders();
    if (!m_dropTarget.empty()) {
        // Drops anywhere on the form reach its target, as on Windows, where edit boxes take none.
        for (auto& [name, control] : m_controls) {
            if (control.widget != nullptr) {
                control.widget->setAcceptDrops(false);
            }
        }
    }
}

void NativeForm::DropFramedEditBorders() {
    // An edit box laid inside an edit frame shows the frame's border instead of its own.
    for (const ControlDecl& frame : m_declaration.controls) {
        if (frame.kind != ControlKind::EditFrame) {
            continue;
        }
        const QRect outer(frame.rect.left, frame.rect.top, frame.rect.width, frame.rect.height);
        for (const ControlDecl& edit : m_declaration.controls) {
            const QRect inner(edit.rect.left, edit.rect.top, edit.rect.width, edit.rect.height);
            if (edit.kind == ControlKind::Edit && edit.parent == frame.parent && outer.contains(inner)) {
                if (auto* line = qobject_cast<QLineEdit*>(Find(edit.name)->widget)) {
                    line->setFrame(false);
                }
            }
        }
    }
}

QWidget* NativeForm::ParentWidget(const ControlDecl& control) {
    if (const NativeControl* parent = Find(control.parent); parent != nullptr && parent->widget != nullptr) {
        return parent->widget;
    }
    return this;
}

void NativeForm::Connect(const Text& name, QWidget* widget) {
    if (widget == nullptr) {
        return;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        // Check boxes have toggled by the time this runs, as the event expects.
        QObject::connect(button, &QAbstractButton::clicked, this,
                         [this, name] { Raise({.kind = EventKind::Click, .control = name}); });
    }
    m_names[widget] = name;
    widget->installEventFilter(this);
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) {
        m_names[edit->viewport()] = name;
        edit->viewport()->installEventFilter(this);
    }
}

bool NativeForm::eventFilter(QObject* watched, QEvent* event) {
    const auto found = m_names.find(watched);
    if (found == m_names.end() || m_sink == nullptr) {
        return false;
    }
    const Text name = found->second;
    const NativeControl* control = Find(name);
    const bool captured = control != nullptr && control->keysCaptured;
    switch (event->type()) {
    case QEvent::FocusIn:
        if (captured) {
            m_keyboard.SyncWithServer();
        }
        Raise({.kind = EventKind::GotFocus, .control = name});
        return false;
    case QEvent::FocusOut:
        // A menu taking the keyboard for a moment is no change of focus on Windows.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            Raise({.kind = EventKind::LostFocus, .control = name});
        }
        return false;
    case QEvent::MouseButtonDblClick:
        Raise({.kind = EventKind::DoubleClick, .control = name});
        return false;
    case QEvent::MouseButtonRelease:
        if (control != nullptr && ClickedByMouse(control->declaration->kind) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            Raise({.kind = EventKind::Click, .control = name});
        }
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return captured && OnKey(name, *static_cast<QKeyEvent*>(event), event->type() == QEvent::KeyPress);
    case QEvent::ShortcutOverride:
        // The box wants every key, shortcuts included.
        if (captured) {
            event->accept();
            return true;
        }
        return false;
    default:
        return false;
    }
}

bool NativeForm::OnKey(const Text& name, const QKeyEvent& event, bool down) {
    if (!down && event.isAutoRepeat()) {
        // Windows repeats only the key-down message.
        return true;
    }
    const int key = QtKeyboard::VirtualKeyOf(event);
    if (key == 0) {
        return true;
    }
    if (down) {
        m_keyboard.SetKeyDown(key, true);
    }
    const bool altDown = m_keyboard.IsKeyDown(kVkAlt);
    const bool ctrlDown = m_keyboard.IsKeyDown(kVkControl);
    const EventKind kind = KeyMessageKind(down, MessageVirtualKey(key), altDown, ctrlDown);
    if (!down) {
        m_keyboard.SetKeyDown(key, false);
    }
    Raise({.kind = kind, .control = name, .virtualKey = MessageVirtualKey(key)});
    return true;
}

void NativeForm::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (m_sink != nullptr && m_sink->OnCloseQuery() && m_closeAccepted) {
        m_closeAccepted();
    }
}

void NativeForm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) {
        return;
    }
    const WindowState state = isMinimized()   ? WindowState::Minimised
                              : isMaximized() ? WindowState::Maximised
                                              : WindowState::Normal;
    // Raised once Qt has finished the change: hiding the window from inside it would be
    // undone by the show that ends showMinimized().
    QTimer::singleShot(0, this, [this, state] { Raise({.kind = EventKind::SizeChanged, .state = state}); });
}

void NativeForm::dragEnterEvent(QDragEnterEvent* event) {
    if (!m_dropTarget.empty() && !LocalFiles(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void NativeForm::dropEvent(QDropEvent* event) {
    std::vector<Text> files = LocalFiles(event->mimeData());
    if (m_dropTarget.empty() || files.empty()) {
        return;
    }
    event->acceptProposedAction();
    // Handled once the drop has finished: the dragging program is not kept waiting while the
    // picture is recognised.
    QTimer::singleShot(0, this, [this, files = std::move(files)] {
        Raise({.kind = EventKind::DropFiles, .control = m_dropTarget, .files = files});
    });
}

} // namespace tovrik::ui
