#include "ui/linux/QtWindowSystem.h"

#include "ui/linux/NativeForm.h"
#include "ui/linux/QtText.h"
#include "ui/linux/TestHook.h"

#include <QAction>
#include <QCursor>
#include <QEventLoop>
#include <QMenu>
#include <QMessageBox>
#include <QTimer>

namespace tovrik::ui {

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

Text Subject(const NativeForm& form, TextView control) {
    return control.empty() ? form.Declaration().name : form.Declaration().name + "/" + Text(control);
}

} // namespace

QtWindowSystem::~QtWindowSystem() {
    for (auto& [id, form] : m_forms) {
        if (form != nullptr) {
            static_cast<void>(form->Detach());
            delete form.data();
        }
    }
}

FormId QtWindowSystem::CreateForm(const FormDecl& form, EventSink& sink) {
    const FormId id = m_nextId++;
    auto* widget = new NativeForm(id, form, sink, m_keyboard, [this, id] { DestroyForm(id); });
    m_forms.emplace(id, widget);
    TestHook::Report("window", form.name, std::to_string(widget->winId()));
    return id;
}

void QtWindowSystem::DestroyForm(FormId form) {
    NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return;
    }
    // Hidden while it can still be found: a control losing the focus as the window goes is
    // told while the core can read it (a hotkey box writes its text then, empty if unreadable).
    widget->hide();
    if (Find(form) != widget) {
        return; // destroyed from inside one of those handlers
    }
    m_forms.erase(form);
    if (QEventLoop* loop = widget->ModalLoop()) {
        loop->quit();
    }
    EventSink* sink = widget->Detach();
    // The widget may be inside one of its own event handlers: it goes once they have returned.
    widget->deleteLater();
    TestHook::Report("destroyed", widget->Declaration().name);
    sink->OnEvent({.kind = EventKind::Destroyed});
}

void QtWindowSystem::RunModal(FormId form) {
    NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return;
    }
    QEventLoop loop;
    widget->SetModalLoop(&loop);
    widget->setWindowModality(Qt::ApplicationModal);
    widget->show();
    widget->raise();
    widget->activateWindow();
    loop.exec();
}

void QtWindowSystem::WaitProcessingEvents(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(std::max(0, milliseconds), &loop, &QEventLoop::quit);
    loop.exec();
}

WindowState QtWindowSystem::GetWindowState(FormId form) const {
    const NativeForm* widget = Find(form);
    if (widget == nullptr || !widget->isMinimized()) {
        return widget != nullptr && widget->isMaximized() ? WindowState::Maximised : WindowState::Normal;
    }
    return WindowState::Minimised;
}

void QtWindowSystem::SetWindowState(FormId form, WindowState state) {
    if (NativeForm* widget = Find(form)) {
        switch (state) {
        case WindowState::Minimised:
            widget->showMinimized();
            break;
        case WindowState::Maximised:
            widget->setWindowState(widget->windowState() | Qt::WindowMaximized);
            break;
        case WindowState::Normal:
            widget->setWindowState(widget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
            break;
        }
    }
}

void QtWindowSystem::Activate(FormId form) {
    if (NativeForm* widget = Find(form)) {
        widget->raise();
        widget->activateWindow();
    }
}

void QtWindowSystem::PopupMenu(FormId form, TextView menu) {
    NativeForm* widget = Find(form);
    NativeControl* control = widget != nullptr ? widget->Find(menu) : nullptr;
    if (control == nullptr || control->menu == nullptr) {
        return;
    }
    TestHook::Report("menu", Subject(*widget, menu));
    const QAction* chosen = control->menu->exec(QCursor::pos());
    if (control->handedOver) {
        return; // its entries raise their clicks themselves
    }
    // The chosen entry's click arrives after the menu has gone, as WM_COMMAND does, and only
    // while the form is still there.
    widget = Find(form);
    if (chosen == nullptr || widget == nullptr) {
        return;
    }
    for (const ControlDecl& item : widget->Declaration().controls) {
        const NativeControl* entry = widget->Find(item.name);
        if (entry != nullptr && entry->action == chosen) {
            widget->Raise({.kind = EventKind::Click, .control = item.name});
            return;
        }
    }
}

bool QtWindowSystem::CaptureKeys(FormId form, TextView control) {
    NativeForm* widget = Find(form);
    return widget != nullptr && widget->CaptureKeys(control);
}

Text QtWindowSystem::GetText(FormId form, TextView control) const {
    const NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return {};
    }
    if (control.empty()) {
        return FromQString(widget->windowTitle());
    }
    const NativeControl* found = widget->Find(control);
    return found != nullptr ? ControlText(*found) : Text();
}

void QtWindowSystem::SetText(FormId form, TextView control, TextView text) {
    NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return;
    }
    if (control.empty()) {
        widget->setWindowTitle(ToQString(text));
    } else if (NativeControl* found = widget->Find(control)) {
        SetControlText(*found, text);
    } else {
        return;
    }
    TestHook::Report("text", Subject(*widget, control), text);
}

bool QtWindowSystem::GetChecked(FormId form, TextView control) const {
    const NativeForm* widget = Find(form);
    const NativeControl* found = widget != nullptr ? widget->Find(control) : nullptr;
    return found != nullptr && ControlChecked(*found);
}

void QtWindowSystem::SetChecked(FormId form, TextView control, bool checked) {
    NativeForm* widget = Find(form);
    if (NativeControl* found = widget != nullptr ? widget->Find(control) : nullptr) {
        SetControlChecked(*found, checked);
    }
}

bool QtWindowSystem::GetEnabled(FormId form, TextView control) const {
    const NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return false;
    }
    if (control.empty()) {
        return widget->isEnabled();
    }
    const NativeControl* found = widget->Find(control);
    if (found == nullptr) {
        return false;
    }
    if (found->action != nullptr) {
        return found->action->isEnabled();
    }
    return found->widget != nullptr && found->widget->isEnabled();
}

void QtWindowSystem::SetEnabled(FormId form, TextView control, bool enabled) {
    NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return;
    }
    if (control.empty()) {
        widget->setEnabled(enabled);
    } else if (NativeControl* found = widget->Find(control)) {
        if (found->action != nullptr) {
            found->action->setEnabled(enabled);
        } else if (found->widget != nullptr) {
            found->widget->setEnabled(enabled);
        }
    }
}

bool QtWindowSystem::GetVisible(FormId form, TextView control) const {
    const NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return false;
    }
    if (control.empty()) {
        return widget->isVisible();
    }
    const NativeControl* found = widget->Find(control);
    if (found == nullptr) {
        return false;
    }
    if (found->action != nullptr) {
        return found->action->isVisible();
    }
    return found->widget != nullptr && !found->widget->isHidden();
}

void QtWindowSystem::SetVisible(FormId form, TextView control, bool visible) {
    NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return;
    }
    if (!control.empty()) {
        if (NativeControl* found = widget->Find(control)) {
            if (found->action != nullptr) {
                found->action->setVisible(visible);
            } else if (found->widget != nullptr) {
                found->widget->setVisible(visible);
            }
        }
        return;
    }
    if (visible == widget->isVisible()) {
        return;
    }
    if (visible) {
        widget->show();
        widget->raise();
    } else {
        widget->hide();
    }
    TestHook::Report(visible ? "shown" : "hidden", widget->Declaration().name);
}

Rect QtWindowSystem::GetRect(FormId form, TextView control) const {
    const NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return {};
    }
    if (control.empty()) {
        return widget->OuterRect();
    }
    const NativeControl* found = widget->Find(control);
    if (found == nullptr || found->widget == nullptr) {
        return found != nullptr ? found->declaration->rect : Rect();
    }
    const QRect geometry = found->widget->geometry();
    return {geometry.x(), geometry.y(), geometry.width(), geometry.height()};
}

void QtWindowSystem::SetRect(FormId form, TextView control, const Rect& rect) {
    NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return;
    }
    if (control.empty()) {
        widget->SetOuterRect(rect);
    } else if (NativeControl* found = widget->Find(control); found != nullptr && found->widget != nullptr) {
        found->widget->setGeometry(rect.left, rect.top, rect.width, rect.height);
    }
}

void QtWindowSystem::SetBorderColour(FormId form, TextView control, Colour colour) {
    NativeForm* widget = Find(form);
    if (NativeControl* found = widget != nullptr ? widget->Find(control) : nullptr) {
        SetControlBorderColour(*found, colour);
    }
}

Bytes QtWindowSystem::GetPicture(FormId form, TextView control) const {
    const NativeForm* widget = Find(form);
    const NativeControl* found = widget != nullptr ? widget->Find(control) : nullptr;
    return found != nullptr ? found->picture : Bytes();
}

void QtWindowSystem::SetPicture(FormId form, TextView control, BytesView image) {
    NativeForm* widget = Find(form);
    if (NativeControl* found = widget != nullptr ? widget->Find(control) : nullptr) {
        SetControlPicture(*found, image);
        TestHook::Report("picture", Subject(*widget, control), std::to_string(image.size()));
    }
}

MessageResult QtWindowSystem::ShowMessage(FormId owner, TextView text, TextView title, const MessageStyle& style) {
    TestHook::Report("message", title, text);
    const QMessageBox::StandardButtons buttons =
        style.buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok;
    // Without a parent: a form destroyed while the box is up would take the box with it.
    QMessageBox box(BoxIcon(style.icon), ToQString(title), ToQString(text), buttons);
    box.setWindowModality(Qt::ApplicationModal);
    if (const NativeForm* parent = Find(owner); parent != nullptr && parent->isVisible()) {
        box.move(parent->geometry().center() - QPoint(box.sizeHint().width() / 2, box.sizeHint().height() / 2));
    }
    if (style.systemModal) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    TestHook::Report("messagebox", std::to_string(box.winId()));
    const int answer = box.exec();
    if (style.buttons == MessageButtons::YesNo) {
        return answer == QMessageBox::Yes ? MessageResult::Yes : MessageResult::No;
    }
    return MessageResult::Ok;
}

void QtWindowSystem::Post(FormId form, Event event) {
    NativeForm* widget = Find(form);
    if (widget == nullptr) {
        return;
    }
    QTimer::singleShot(0, widget, [this, form, event = std::move(event)] {
        if (NativeForm* target = Find(form)) {
            target->Raise(event);
        }
    });
}

QMenu* QtWindowSystem::HandOverMenu(FormId form, TextView menu, const Event& opening) {
    NativeForm* widget = Find(form);
    NativeControl* control = widget != nullptr ? widget->Find(menu) : nullptr;
    if (control == nullptr || control->menu == nullptr) {
        return nullptr;
    }
    if (control->handedOver) {
        return control->menu;
    }
    control->handedOver = true;
    const Text subject = Subject(*widget, menu);
    QObject::connect(control->menu, &QMenu::aboutToShow, control->menu, [this, form, opening, subject] {
        TestHook::Report("menu", subject);
        if (NativeForm* target = Find(form)) {
            target->Raise(opening);
        }
    });
    for (const ControlDecl& item : widget->Declaration().controls) {
        const NativeControl* entry = widget->Find(item.name);
        if (item.parent == menu && entry != nullptr && entry->action != nullptr) {
            QObject::connect(entry->action, &QAction::triggered, entry->action, [this, form, name = item.name] {
                Post(form, {.kind = EventKind::Click, .control = name});
            });
        }
    }
    return control->menu;
}

QWidget* QtWindowSystem::Widget(FormId form) const {
    return Find(form);
}

NativeForm* QtWindowSystem::Find(FormId form) const {
    const auto found = m_forms.find(form);
    return found != m_forms.end() && found->second != nullptr && found->second->Alive() ? found->second.data()
                                                                                        : nullptr;
}

} // namespace tovrik::ui
