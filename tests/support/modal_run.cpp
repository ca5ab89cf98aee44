#include "support/modal_run.h"

#include <QDialog>
#include <QTest>
#include <QTimer>

namespace testsupport {

int RunModal(QDialog& dialog, const std::function<void()>& steps) {
    QTimer::singleShot(0, &dialog, [&dialog, &steps] {
        if (QTest::qWaitForWindowExposed(&dialog))
            steps();
        if (dialog.isVisible())
            dialog.done(QDialog::Rejected);
    });
    return dialog.exec();
}

} // namespace testsupport
