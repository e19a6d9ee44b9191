// The data-aware barcode control on a real SQLite file: what it shows, when it writes.

#include <gtest/gtest.h>

#include "components/FormFile.h"
#include "components/pDBBarcode.h"
#include "data/DataSetAction.h"
#include "tests/TestDatabase.h"

namespace ribbon::test {
namespace {

// A table of EAN-13 data, a data set on it, a data source and a bound control.
struct Bound {
    explicit Bound(const char* schema =
                       "CREATE TABLE items(sku TEXT UNIQUE, name TEXT);"
                       "INSERT INTO items VALUES ('4006381333931', 'pen'),"
                       "('9780201379624', 'book'), ('5901234123457', 'cup');")
        : file(schema), data(file.Open()), control(nullptr) {
        data.SetTableName("items");
        data.Open();
        source.SetDataSet(&data);
        control.SetBarType(bcCodeEAN13);
        control.SetDataSource(&source);
        control.SetDataField("sku");
    }
    TestDatabase file;
    TDataSet data;
    TDataSource source;
    TDBBarcode control;
};

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message;
    }
    return "<no error>";
}

TEST(DBBarcode, ScrollingShowsEachRecordAndWritesNothing) {
    Bound b;
    const std::string before = FileBytes(b.file.Path());
    std::vector<std::string> shown{b.control.BarCode()};
    for (b.data.Next(); !b.data.Eof(); b.data.Next()) shown.push_back(b.control.BarCode());
    b.data.Prior();
    shown.push_back(b.control.BarCode());
    b.data.First();
    EXPECT_EQ(shown, (std::vector<std::string>{"4006381333931", "9780201379624", "5901234123457",
                                               "9780201379624"}));
    EXPECT_EQ(b.data.State(), dsBrowse);
    EXPECT_FALSE(b.data.Modified());
    b.data.Close();
    EXPECT_EQ(b.control.BarCode(), "");
    EXPECT_EQ(FileBytes(b.file.Path()), before);
}

TEST(DBBarcode, BarcodeSetInEditStateLandsInTheFile) {
    Bound b;
    b.data.Next();
    b.data.Edit();
    b.control.SetBarcode("9780201379624");  // the value the field holds: nothing written
    EXPECT_FALSE(b.data.Modified());
    b.control.SetBarcode("4012345678901");
    EXPECT_EQ(b.data.FieldByName("sku").AsString(), "4012345678901");
    EXPECT_EQ(b.control.BarCode(), "4012345678901");
    b.data.Post();
    b.data.Close();

    TDataSet reopened(b.file.Open());
    reopened.SetTableName("items");
    reopened.Open();
    reopened.Next();
    EXPECT_EQ(reopened.FieldByName("sku").AsString(), "4012345678901");
}

TEST(DBBarcode, RepairedDataIsWhatTheFieldKeeps) {
    Bound b;
    int paints = 0;
    b.control.OnChange = [&](TObject*) { ++paints; };
    b.control.OnInvalidChar = [](TObject*, std::string& text) { std::erase(text, 'x'); };
    b.data.Edit();
    b.control.SetBarcode("40123x45678901");
    EXPECT_EQ(b.control.BarCode(), "4012345678901");
    EXPECT_EQ(b.data.FieldByName("sku").AsString(), "4012345678901");
    EXPECT_EQ(paints, 1);
}

TEST(DBBarcode, RefusedValuesLeaveTheStoredRecordAsItWas) {
    Bound b;
    const std::string before = FileBytes(b.file.Path());
    // Browse state: the data set refuses, the control keeps its barcode.
    EXPECT_EQ(MessageOf([&] { b.control.SetBarcode("4012345678901"); }),
              "Dataset not in edit or insert mode");
    EXPECT_EQ(b.control.BarCode(), "4006381333931");

    // Letters for EAN-13: the control's message; Cancel restores the record.
    b.data.Edit();
    EXPECT_EQ(MessageOf([&] { b.control.SetBarcode("40063813339AB"); }),
              "40063813339AB: Barcode must be numeric.");
    b.data.Cancel();
    EXPECT_EQ(b.data.FieldByName("sku").AsString(), "4006381333931");
    EXPECT_EQ(b.control.BarCode(), "4006381333931");

    // A value the database refuses: its message, the edit kept, the file untouched.
    b.data.Edit();
    b.control.SetBarcode("9780201379624");
    EXPECT_EQ(MessageOf([&] { b.data.Post(); }), "UNIQUE constraint failed: items.sku");
    EXPECT_EQ(b.data.State(), dsEdit);
    EXPECT_EQ(b.control.BarCode(), "9780201379624");
    b.data.Cancel();
    EXPECT_EQ(b.control.BarCode(), "4006381333931");
    EXPECT_EQ(FileBytes(b.file.Path()), before);
}

// Code written against the published names compiles and reads the same binding.
TEST(DBBarcode, PublishedAccessorNamesReadTheBinding) {
    Bound b;
    EXPECT_EQ(b.control.GetDataSource(), &b.source);
    EXPECT_EQ(b.control.GetDataField(), "sku");
    EXPECT_EQ(b.control.GetField(), &b.data.FieldByName("sku"));
    EXPECT_FALSE(b.control.GetReadOnly());
    b.control.SetReadOnly(true);
    EXPECT_TRUE(b.control.GetReadOnly());
    b.control.SetDataField("");
    EXPECT_EQ(b.control.GetField(), nullptr);
    EXPECT_EQ(b.control.GetAbout(), b.control.About());
}

TEST(DBBarcode, NeverWritesThroughAReadOnlyLinkOrField) {
    struct Case {
        const char* name;
        void (*setUp)(Bound&);
        const char* shown;
    };
    const Case cases[] = {
        {"read-only link", [](Bound& b) { b.control.SetReadOnly(true); }, "4006381333931"},
        {"read-only field", [](Bound& b) { b.data.FieldByName("sku").SetReadOnly(true); },
         "4006381333931"},
        {"no field", [](Bound& b) { b.control.SetDataField(""); }, ""},
        {"no data source", [](Bound& b) { b.control.SetDataSource(nullptr); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Bound b;
        c.setUp(b);
        b.data.Edit();
        b.control.SetBarcode("4012345678901");
        EXPECT_EQ(b.control.BarCode(), c.shown);
        EXPECT_FALSE(b.data.Modified());
    }
}

TEST(DBBarcode, WhileDesigningBarcodeIsTheControlsOwn) {
    for (bool bound : {true, false}) {
        SCOPED_TRACE(bound ? "bound" : "unbound");
        Bound b;
        if (!bound) b.control.SetDataSource(nullptr);
        b.control.SetDesigning(true);
        b.control.SetBarcode("4012345678901");
        EXPECT_EQ(b.control.BarCode(), "4012345678901");
        EXPECT_EQ(b.data.State(), dsBrowse);
        EXPECT_FALSE(b.data.Modified());
    }
}

TEST(DBBarcode, UpdateDataWritesTheBarcodeWhenTheLinkWasModified) {
    Bound b;
    b.data.Edit();
    b.control.SetDesigning(true);
    b.control.SetBarcode("4012345678901");
    b.control.SetDesigning(false);
    auto* link = reinterpret_cast<TFieldDataLink*>(b.control.Perform(CM_GETDATALINK, 0, 0));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->Control(), &b.control);
    link->Modified();
    b.data.Post();
    EXPECT_EQ(b.file.Query("SELECT sku FROM items WHERE name = 'pen'"), "4012345678901");
}

TEST(DBBarcode, DestroyingTheDataSourceClearsTheReference) {
    Bound b;
    auto* source = new TDataSource(nullptr);
    source->SetDataSet(&b.data);
    b.control.SetDataSource(source);
    ASSERT_NE(b.control.Field(), nullptr);
    delete source;
    EXPECT_EQ(b.control.DataSource(), nullptr);
    EXPECT_EQ(b.control.Field(), nullptr);
    EXPECT_EQ(b.control.BarCode(), "");
    b.data.Next();  // the data set no longer reaches the control
    EXPECT_EQ(b.control.BarCode(), "");
}

TEST(DBBarcode, ActionsReachTheDataSourceThroughTheControl) {
    Bound b;
    EXPECT_TRUE(b.control.ControlStyle.Contains(csReplicatable));
    static_assert((1u << csReplicatable) == 0x800);
    TDataSetAction next(nullptr, dcNext), post(nullptr, dcPost);
    EXPECT_TRUE(b.control.ExecuteAction(&next));
    EXPECT_EQ(b.control.BarCode(), "9780201379624");
    EXPECT_TRUE(b.control.UpdateAction(&post));
    EXPECT_FALSE(post.Enabled());
    TBasicAction foreign(nullptr);
    EXPECT_FALSE(b.control.ExecuteAction(&foreign));
}

TEST(DBBarcode, FormFilesKeepTheBindingByName) {
    TestDatabase file("CREATE TABLE items(sku TEXT); INSERT INTO items VALUES ('4006381333931');");
    TDataSet data(file.Open());
    data.SetTableName("items");
    data.Open();
    TComponent form(nullptr);
    auto* source = new TDataSource(&form);
    source->SetName("DataSource1");
    source->SetDataSet(&data);
    (new TComponent(&form))->SetName("Menu1");
    auto* written = new TDBBarcode(&form);
    written->SetName("DBBarcode1");
    written->SetBarType(bcCodeEAN13);
    written->SetDataSource(source);
    written->SetDataField("sku");
    written->SetReadOnly(true);
    const TBarCode* controls[] = {written};
    const std::string text = WriteForm(controls);
    EXPECT_NE(text.find("object DBBarcode1: TDBBarcode\n"), std::string::npos);
    EXPECT_NE(text.find("  DataField = 'sku'\n  DataSource = DataSource1\n  ReadOnly = True\n"),
              std::string::npos)
        << text;

    auto* read = new TDBBarcode(&form);
    read->SetName("Copy");
    std::string copy = text;
    copy.replace(copy.find("DBBarcode1"), 10, "Copy");
    TBarCode* targets[] = {read};
    ReadForm(copy, targets);
    EXPECT_EQ(read->DataSource(), source);
    EXPECT_EQ(read->DataField(), "sku");
    EXPECT_TRUE(read->ReadOnly());
    EXPECT_EQ(read->BarCode(), "4006381333931");

    struct Case {
        std::string text;
        const char* message;
    };
    TBarCode* plain = new TBarCode(&form);
    plain->SetName("Plain");
    const Case cases[] = {
        {"object Copy: TDBBarcode\n  DataSource = Menu1\nend\n",
         "line 2: DataSource: 'Menu1' is not a data source"},
        {"object Plain: TDBBarcode\nend\n",
         "line 1: Plain is a TDBBarcode in the file, where a TBarCode was expected"},
        {"object Plain: TBarCode\n  DataField = 'sku'\nend\n",
         "line 2: TBarCode has no property 'DataField'"},
    };
    for (const Case& c : cases) {
        TBarCode* both[] = {read, plain};
        EXPECT_EQ(MessageOf([&] { ReadForm(c.text, both); }), c.message);
    }
    EXPECT_EQ(read->DataSource(), source);
    // A TBarCode object leaves a data-aware control unbound, as the file has it.
    ReadForm("object Copy: TBarCode\nend\n", targets);
    EXPECT_EQ(read->DataSource(), nullptr);
    EXPECT_EQ(read->DataField(), "");
}

}  // namespace
}  // namespace ribbon::test
