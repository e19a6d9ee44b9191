#include <gtest/gtest.h>

#include "data/DataSource.h"
#include "tests/TestDatabase.h"

namespace ribbon {
namespace {

using test::FileBytes;
using test::TestDatabase;

TEST(DataSet, NavigationKeepsBofEofAndRecNoInStep) {
    TestDatabase file(
        "CREATE TABLE items(sku TEXT UNIQUE, name TEXT);"
        "INSERT INTO items VALUES ('1','a'),('2','b'),('3','c');");
    TDataSet data(file.Open());
    data.SetTableName("items");
    data.Open();
    struct Step {
        void (*move)(TDataSet&);
        int recNo;
        bool bof, eof;
        const char* sku;
    };
    const Step steps[] = {
        {[](TDataSet&) {}, 1, true, false, "1"},
        {[](TDataSet& d) { d.Next(); }, 2, false, false, "2"},
        {[](TDataSet& d) { d.Last(); }, 3, false, true, "3"},
        {[](TDataSet& d) { d.Prior(); }, 2, false, false, "2"},
        {[](TDataSet& d) { d.MoveBy(5); }, 3, false, true, "3"},
        {[](TDataSet& d) { d.MoveBy(-9); }, 1, true, false, "1"},
        {[](TDataSet& d) { d.SetRecNo(2); }, 2, false, false, "2"},
        {[](TDataSet& d) { d.First(); }, 1, true, false, "1"},
    };
    for (const Step& s : steps) {
        s.move(data);
        EXPECT_EQ(data.RecNo(), s.recNo);
        EXPECT_EQ(data.Bof(), s.bof) << "at " << s.recNo;
        EXPECT_EQ(data.Eof(), s.eof) << "at " << s.recNo;
        EXPECT_EQ(data.FieldByName("SKU").AsString(), s.sku);
    }
    EXPECT_EQ(data.RecordCount(), 3);
    EXPECT_THROW(data.FieldByName("price"), EDatabaseError);
}

TEST(DataSet, PostWritesOneRecordThatAnotherConnectionReads) {
    TestDatabase file(
        "CREATE TABLE items(sku TEXT, qty INTEGER);"
        "INSERT INTO items VALUES ('1', 5), ('2', 6);");
    {
        TDataSet data(file.Open());
        data.SetTableName("items");
        data.Open();
        data.Next();
        data.Edit();
        data.FieldByName("sku").SetEditText("42");
        data.FieldByName("qty").SetEditText("");
        EXPECT_THROW(data.FieldByName("qty").SetEditText("7x"), EConvertError);
        data.Post();
        EXPECT_EQ(data.State(), dsBrowse);
        data.Append();
        data.FieldByName("sku").SetAsString("3");
        data.Post();
        EXPECT_EQ(data.RecNo(), 3);
        data.First();
        data.Delete();
    }
    EXPECT_EQ(file.Query("SELECT group_concat(sku || ':' || ifnull(qty, 'null'), ' ') FROM items"),
              "42:null 3:null");
}

TEST(DataSet, RefusedPostKeepsTheEditAndChangesNothing) {
    struct Case {
        const char* name;
        const char* schema;
        const char* setSku;
        const char* message;
    };
    const Case cases[] = {
        {"unique", "CREATE TABLE items(sku TEXT UNIQUE)", "2",
         "UNIQUE constraint failed: items.sku"},
        {"check", "CREATE TABLE items(sku TEXT CHECK(length(sku) = 1))", "22",
         "CHECK constraint failed: length(sku) = 1"},
        {"not null", "CREATE TABLE items(sku TEXT NOT NULL)", nullptr,
         "NOT NULL constraint failed: items.sku"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestDatabase file(std::string(c.schema) + "; INSERT INTO items VALUES ('1'), ('2');");
        const std::string before = FileBytes(file.Path());
        TDataSet data(file.Open());
        data.SetTableName("items");
        data.Open();
        data.Edit();
        TField& sku = data.FieldByName("sku");
        c.setSku ? sku.SetEditText(c.setSku) : sku.Clear();
        try {
            data.Post();
            ADD_FAILURE() << "posted";
        } catch (const EDatabaseError& e) {
            EXPECT_EQ(e.Message, c.message);
        }
        EXPECT_EQ(data.State(), dsEdit);
        EXPECT_EQ(sku.AsString(), c.setSku ? c.setSku : "");
        EXPECT_EQ(FileBytes(file.Path()), before);
        data.Cancel();
        EXPECT_EQ(sku.AsString(), "1");
    }
}

TEST(DataSet, PostFailsCleanlyOnALockOrAReadOnlyFile) {
    TestDatabase file("CREATE TABLE items(sku TEXT); INSERT INTO items VALUES ('1');");
    auto other = file.Open();
    other->Execute("BEGIN IMMEDIATE");
    TDataSet data(file.Open());
    data.SetTableName("items");
    data.Open();
    data.Edit();
    data.FieldByName("sku").SetAsString("9");
    EXPECT_THROW(data.Post(), EDatabaseError);
    EXPECT_EQ(data.State(), dsEdit);
    other->Execute("ROLLBACK");
    data.Post();
    EXPECT_EQ(file.Query("SELECT sku FROM items"), "9");

    TDataSet readOnly(std::make_shared<TDatabase>(file.Path(), TOpenMode::ReadOnly));
    readOnly.SetTableName("items");
    readOnly.Open();
    readOnly.Edit();
    readOnly.FieldByName("sku").SetAsString("8");
    try {
        readOnly.Post();
        ADD_FAILURE() << "posted";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message, "attempt to write a readonly database");
    }
    EXPECT_EQ(file.Query("SELECT sku FROM items"), "9");
}

TEST(DataSet, WithoutRowidTablesAreKeyedByTheirPrimaryKey) {
    TestDatabase file(
        "CREATE TABLE items(a TEXT, b INT, v TEXT, PRIMARY KEY(b, a)) WITHOUT ROWID;"
        "INSERT INTO items VALUES ('x', 1, 'p'), ('x', 2, 'q');");
    TDataSet data(file.Open());
    data.SetTableName("items");
    data.Open();
    data.Next();
    data.Edit();
    data.FieldByName("b").SetAsString("7");
    data.FieldByName("v").SetAsString("r");
    data.Post();
    EXPECT_EQ(file.Query("SELECT group_concat(a || b || v, ' ') FROM items"), "x1p x7r");
}

TEST(DataSet, QueriesBindParametersAndOnlyRead) {
    TestDatabase file(
        "CREATE TABLE items(sku TEXT, name TEXT);"
        "INSERT INTO items VALUES ('1','a'),('2','b');");
    TDataSet query(file.Open());
    query.SetSQL("SELECT name FROM items WHERE sku = :sku OR sku = ?2");
    query.Params().Set(":sku", std::string("1' OR '1'='1"));
    query.Params().Set(2, std::string("2"));
    query.Open();
    ASSERT_EQ(query.RecordCount(), 1);
    EXPECT_EQ(query.Fields(0).AsString(), "b");
    EXPECT_FALSE(query.CanModify());
    EXPECT_THROW(query.Edit(), EDatabaseError);
    query.Close();

    const std::string before = FileBytes(file.Path());
    for (const char* sql : {"DELETE FROM items", "SELECT 1; DELETE FROM items", "SELEC x"}) {
        TDataSet bad(file.Open());
        bad.SetSQL(sql);
        EXPECT_THROW(bad.Open(), EDatabaseError) << sql;
        EXPECT_FALSE(bad.Active());
    }
    EXPECT_EQ(FileBytes(file.Path()), before);
}

TEST(DataLink, FollowsTheRecordAndLetsGoOfWhatIsFreed) {
    TestDatabase file("CREATE TABLE items(sku TEXT); INSERT INTO items VALUES ('1'), ('2');");
    auto data = std::make_unique<TDataSet>(file.Open());
    data->SetTableName("items");
    auto source = std::make_unique<TDataSource>();
    source->SetDataSet(data.get());
    TFieldDataLink link;
    std::vector<std::string> shown;
    link.OnDataChange = [&](TObject*) {
        shown.push_back(link.Field() ? link.Field()->AsString() : "<none>");
    };
    link.SetFieldName("sku");
    link.SetDataSource(source.get());
    EXPECT_EQ(link.Field(), nullptr);
    data->Open();
    ASSERT_NE(link.Field(), nullptr);
    data->Next();
    EXPECT_TRUE(link.Edit());
    EXPECT_EQ(data->State(), dsEdit);
    link.Field()->SetAsString("9");
    data->Cancel();
    EXPECT_THROW(link.SetFieldName("nope"), EDatabaseError);
    EXPECT_EQ(link.FieldName(), "sku");
    data.reset();
    EXPECT_EQ(link.Field(), nullptr);
    EXPECT_EQ(shown, (std::vector<std::string>{"1", "2", "2", "9", "2", "<none>"}));
    source.reset();
    EXPECT_EQ(link.DataSource(), nullptr);
}

TEST(DataLink, EveryLinkLetsGoOfItsFieldWhenAControlRaises) {
    TestDatabase file("CREATE TABLE items(sku TEXT); INSERT INTO items VALUES ('1');");
    auto data = std::make_unique<TDataSet>(file.Open());
    data->SetTableName("items");
    data->Open();
    TDataSource source;
    source.SetDataSet(data.get());
    TFieldDataLink links[2];
    for (TFieldDataLink& link : links) {
        link.OnDataChange = [&link](TObject*) {
            if (!link.Field()) throw Exception("nothing to show");
        };
        link.SetFieldName("sku");
        link.SetDataSource(&source);
        ASSERT_NE(link.Field(), nullptr);
    }
    EXPECT_THROW(data->Close(), Exception);
    EXPECT_EQ(links[0].Field(), nullptr);
    EXPECT_EQ(links[1].Field(), nullptr);
    data->Open();  // opens cleanly again
    EXPECT_EQ(data->FieldCount(), 1);
    EXPECT_NE(links[1].Field(), nullptr);
    data.reset();  // the destructor swallows what the controls raise
    EXPECT_EQ(links[0].Field(), nullptr);
}

}  // namespace
}  // namespace ribbon
