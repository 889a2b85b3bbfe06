#pragma once

#include "ui/Event.h"
#include "ui/FormDecl.h"
#include "ui/WindowSystem.h"
#include "ui/linux/ControlWidgets.h"

#include <QWidget>

#include <functional>
#include <map>

class QEventLoop;

namespace tovrik::ui {

class QtKeyboard;

// A declared rectangle is the outer frame of a Windows window: the client area is this much
// smaller, so that controls placed for the Windows client area fit the same way.
inline constexpr int kFrameLeft = 3;
inline constexpr int kFrameTop = 31;
inline constexpr int kFrameRight = 3;
inline constexpr int kFrameBottom = 3;

// The top-level widget of one form with its controls. It turns Qt's events into the core's
// events and hands them to the form's sink.
class NativeForm final : public QWidget {
public:
    // closeAccepted runs when the sink agreed to a close request; it destroys the form.
    NativeForm(FormId id, const FormDecl& declaration, EventSink& sink, QtKeyboard& keyboard,
               std::function<void()> closeAccepted);

    [[nodiscard]] FormId Id() const { return m_id; }
    [[nodiscard]] const FormDecl& Declaration() const { return m_declaration; }
    [[nodiscard]] bool Alive() const { return m_sink != nullptr; }
    // From now on no event reaches the sink; returns it for the final Destroyed.
    [[nodiscard]] EventSink* Detach();
    // Raises the event on the sink, if the form is still alive.
    void Raise(const Event& event);

    // Null for a name the form does not declare.
    [[nodiscard]] NativeControl* Find(TextView name);
    [[nodiscard]] const NativeControl* Find(TextView name) const;
    [[nodiscard]] bool CaptureKeys(TextView control);

    [[nodiscard]] Rect OuterRect() const;
    void SetOuterRect(const Rect& rect);
    void SetModalLoop(QEventLoop* loop) { m_modalLoop = loop; }
    [[nodiscard]] QEventLoop* ModalLoop() const { return m_modalLoop; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
    void DropFramedEditBorders();
    void Connect(const Text& name, QWidget* widget);
    [[nodiscard]] bool OnKey(const Text& name, const QKeyEvent& event, bool down);
    [[nodiscard]] QWidget* ParentWidget(const ControlDecl& control);

    FormId m_id;
    const FormDecl m_declaration;
    EventSink* m_sink;
    QtKeyboard& m_keyboard;
    std::function<void()> m_closeAccepted;
    std::map<Text, NativeControl, std::less<>> m_controls;
    std::map<QObject*, Text> m_names; // widgets (and edit viewports) to control names
    Text m_dropTarget;
    QEventLoop* m_modalLoop = nullptr;
};

} // namespace tovrik::ui
