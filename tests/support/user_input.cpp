#include "support/user_input.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace testsupport {

bool PickRow(QComboBox* combo, int row) {
    combo->showPopup();
    QApplication::processEvents();
    QAbstractItemView* rows = combo->view();
    const QModelIndex index = rows->model()->index(row, 0);
    rows->scrollTo(index);
    QApplication::processEvents();
    // The row's own rectangle may be wider than a narrow list's viewport.
    const QPoint point(rows->viewport()->width() / 2, rows->visualRect(index).center().y());
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, point);
    return combo->currentIndex() == row;
}

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

} // namespace testsupport
