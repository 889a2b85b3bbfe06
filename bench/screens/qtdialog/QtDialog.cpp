// A dialog as Qt programs show them: an icon beside the message, a framed group of options and a
// row of buttons, in Qt's Fusion style with a light or dark palette. The benchmark takes a
// screenshot of it.
//   screens-qt-dialog [--dark] TITLE MESSAGE GROUP-TITLE OPTION1,OPTION2,... BUTTON1,BUTTON2,...
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QVBoxLayout>

namespace {

QPalette DarkPalette() {
    QPalette palette;
    const QColor window(45, 45, 48), base(30, 30, 30), text(225, 225, 225);
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, QColor(60, 60, 64));
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Highlight, QColor(42, 130, 218));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    return palette;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QStringList args = QApplication::arguments().mid(1);
    const bool dark = !args.isEmpty() && args.front() == "--dark";
    if (dark) {
        args.pop_front();
    }
    if (args.size() != 5) {
        qCritical("usage: screens-qt-dialog [--dark] TITLE MESSAGE GROUP OPTIONS BUTTONS");
        return 2;
    }
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    if (dark) {
        QApplication::setPalette(DarkPalette());
    }
    QDialog dialog;
    dialog.setWindowTitle(args[0]);
    auto* layout = new QVBoxLayout(&dialog);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel;
    const int iconSize = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(iconSize, iconSize));
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addWidget(new QLabel(args[1]), 1);
    layout->addLayout(top);
    auto* group = new QGroupBox(args[2]);
    auto* options = new QVBoxLayout(group);
    bool first = true;
    for (const QString& option : args[3].split(',')) {
        auto* box = new QCheckBox(option);
        box->setChecked(first);
        first = false;
        options->addWidget(box);
    }
    layout->addWidget(group);
    auto* buttons = new QDialogButtonBox;
    for (const QString& label : args[4].split(',')) {
        buttons->addButton(new QPushButton(label), QDialogButtonBox::ActionRole);
    }
    layout->addWidget(buttons);
    dialog.show();
    return QApplication::exec();
}
