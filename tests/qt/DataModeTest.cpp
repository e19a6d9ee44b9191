// The designer's data-bound mode on a real SQLite file: the control follows the records and the
// file is never written.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>

#include "qt/ControlWidget.h"
#include "qt/DataPanel.h"
#include "qt/Designer.h"
#include "tests/TestDatabase.h"
#include "tests/qt/QtTestUtil.h"

namespace ribbon::test {
namespace {

TEST(DesignerData, TheControlFollowsTheRecords) {
    ASSERT_TRUE(HaveDecoders()) << "zbar-tools and zxing-cpp-tools are needed";
    TestDatabase db(
        "CREATE TABLE items(name TEXT, sku TEXT);"
        "INSERT INTO items VALUES ('pen', '4006381333931'), ('book', '9780201379624'),"
        "('cup', '5901234123457');");
    const std::string before = FileBytes(db.Path());
    qt::DesignerWindow d;
    d.TypeBox().setCurrentIndex(bcCodeEAN13);
    qt::DataPanel& data = d.Data();
    ASSERT_TRUE(data.OpenDatabase(QString::fromStdString(db.Path()))) << d.Status().toStdString();
    EXPECT_EQ(data.TableBox().currentText(), "items");
    EXPECT_EQ(data.FieldBox().count(), 2);
    data.FieldBox().setCurrentText("sku");
    EXPECT_EQ(d.BarCode().BarCode(), "4006381333931");
    EXPECT_EQ(d.DataEdit().text(), "4006381333931");

    ASSERT_TRUE(data.Move(dcNext));
    EXPECT_EQ(DecodeWidget(d.Widget()), "9780201379624|9780201379624");
    ASSERT_TRUE(data.Move(dcLast));
    EXPECT_EQ(d.BarCode().BarCode(), "5901234123457");
    EXPECT_EQ(data.RecordText(), "record 3 of 3");

    // A field the symbology refuses: the message shows, the file stays as it was.
    data.FieldBox().setCurrentText("name");
    EXPECT_EQ(d.Status(), "cup: Barcode must be numeric.");
    EXPECT_EQ(FileBytes(db.Path()), before);

    EXPECT_FALSE(data.OpenDatabase("/nonexistent/stock.db"));
    EXPECT_EQ(d.Status(), "/nonexistent/stock.db: unable to open database file");
    EXPECT_EQ(data.TableBox().count(), 0);
    // Unbound again, the control saves as a plain one.
    const std::string form = db.Path() + ".dfm";
    ASSERT_TRUE(d.SaveForm(QString::fromStdString(form)));
    EXPECT_EQ(FileBytes(form).substr(0, 26), "object BarCode1: TBarCode\n");
    std::remove(form.c_str());
}

}  // namespace
}  // namespace ribbon::test
