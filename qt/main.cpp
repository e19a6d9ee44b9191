// ribbon-designer: a barcode control and its properties in a window.
//
//   ribbon-designer [--form FILE.dfm [--name NAME]] [--screenshot FILE.png]
//
// --name picks the control of a form with several (default the first).
// --screenshot shows the window, saves what the screen shows of the control and quits (for
// tests and documentation).

#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <cstdio>

#include "qt/ControlWidget.h"
#include "qt/Designer.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QString form, name, screenshot;
    const QStringList args = app.arguments();
    bool usage = false;
    for (int i = 1; i < args.size() && !usage; ++i) {
        QString* target = args[i] == "--form"         ? &form
                          : args[i] == "--name"       ? &name
                          : args[i] == "--screenshot" ? &screenshot
                                                      : nullptr;
        usage = !target || i + 1 == args.size();
        if (!usage) *target = args[++i];
    }
    if (usage || (!name.isEmpty() && form.isEmpty())) {
        std::fprintf(stderr,
                     "usage: ribbon-designer [--form FILE.dfm [--name NAME]] [--screenshot "
                     "FILE.png]\n");
        return 2;
    }
    ribbon::qt::DesignerWindow window;
    if (!form.isEmpty() && !window.LoadForm(form, name)) {
        std::fprintf(stderr, "ribbon-designer: %s\n", window.Status().toLocal8Bit().constData());
        if (!screenshot.isEmpty()) return 1;
    }
    window.show();
    if (screenshot.isEmpty()) return app.exec();

    int status = 1;
    QTimer::singleShot(300, &app, [&] {
        // What the screen shows where the control is; where the platform cannot read the
        // screen back (offscreen), the widget renders itself.
        QWidget& w = window.Widget();
        QPixmap shot = w.screen()->grabWindow(w.winId());
        if (shot.isNull() || shot.size() != w.size()) shot = w.grab();
        status = shot.save(screenshot) ? 0 : 1;
        if (status)
            std::fprintf(stderr, "ribbon-designer: cannot write %s\n", qPrintable(screenshot));
        app.quit();
    });
    app.exec();
    return status;
}
