// Shows a TBarCode in the Qt widget and saves what the widget draws into the PNG named on the
// command line.
#include <ribbonkit/components/pBarCode.h>
#include <ribbonkit/qt/ControlWidget.h>

#include <QApplication>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    QApplication app(argc, argv);
    ribbon::TBarCode bar(nullptr);
    bar.SetBounds(0, 0, 300, 120);
    bar.SetBarType(ribbon::bcCode128B);
    bar.SetModul(2);
    bar.SetBarcode("Qt-7");
    ribbon::qt::ControlWidget widget(bar);
    widget.resize(300, 120);
    return widget.grab().save(argv[1]) ? 0 : 1;
}
