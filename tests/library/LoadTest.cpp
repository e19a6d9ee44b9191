// libribbonkit.so loaded at run time: its units start and stop in order once per load, the
// library really goes away on dlclose, and nothing is read after Finalize.

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <ribbonkit/ribbonkit.h>

#include <string>
#include <utility>

#include "base/Exceptions.h"
#include "engine/BarTypes.h"
#include "engine/Edition.h"
#include "tests/AssertionText.h"

namespace {

// Debian's pixman (under cairo) allocates its tables when it is loaded and never frees them, so
// each unload of it would show as a leak that is not the library's. Kept loaded for the whole
// run, it no longer comes and goes with each load of libribbonkit.so.
[[maybe_unused]] const void* const KeepPixman =
    dlopen("libpixman-1.so.0", RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);

class Library {
  public:
    Library() : handle_(dlopen(RIBBONKIT_PATH, RTLD_NOW | RTLD_LOCAL)) {
        if (!handle_) ADD_FAILURE() << dlerror();
    }
    ~Library() { Close(); }
    void Close() {
        if (handle_) dlclose(handle_);
        handle_ = nullptr;
    }
    template <typename F>
    F* Get(const char* name) {
        void* symbol = dlsym(handle_, name);
        EXPECT_NE(symbol, nullptr) << name;
        return reinterpret_cast<F*>(symbol);
    }
    const ribbonkit_package_info& Info() {
        return *Get<const ribbonkit_package_info*()>("GetPackageInfoTable")();
    }

  private:
    void* handle_;
};

bool Loaded() {
    void* h = dlopen(RIBBONKIT_PATH, RTLD_NOW | RTLD_NOLOAD);
    if (h) dlclose(h);
    return h != nullptr;
}

// Start-ups in table order and clean-ups in reverse order, each unit counted.
void ExpectUnits(const ribbonkit_package_info& info, int startCount, int startUps, int cleanUps) {
    ASSERT_EQ(info.unit_count, 3);
    const char* names[] = {"ZBarCode", "pBarCode", "pDBBarcode"};
    for (int i = 0; i < 3; ++i) {
        const ribbonkit_unit_info& u = info.units[i];
        EXPECT_STREQ(u.name, names[i]);
        EXPECT_EQ(u.start_count, startCount) << u.name;
        EXPECT_EQ(u.start_ups, startUps) << u.name;
        EXPECT_EQ(u.clean_ups, cleanUps) << u.name;
        if (i == 0) continue;
        EXPECT_GT(u.started_at, info.units[i - 1].started_at) << u.name;
        if (cleanUps) {
            EXPECT_LT(u.cleaned_at, info.units[i - 1].cleaned_at) << u.name;
        }
    }
}

// Each load uses one pair of names; the package's names are the same routines.
TEST(LibraryLoad, EachLoadStartsAndStopsEveryUnitOnceInOrder) {
    ASSERT_FALSE(Loaded());
    const std::pair<const char*, const char*> pairs[] = {{"Initialize", "Finalize"},
                                                         {"PackageLoad", "PackageUnload"}};
    for (const auto& [start, stop] : pairs) {
        SCOPED_TRACE(start);
        Library lib;
        ASSERT_TRUE(Loaded());
        ExpectUnits(lib.Info(), -1, 1, 0);  // loading started the units; counts begin afresh

        auto initialize = lib.Get<void()>(start);
        auto finalize = lib.Get<void()>(stop);
        initialize();  // nested: counted, not started again
        ExpectUnits(lib.Info(), -2, 1, 0);
        finalize();
        ExpectUnits(lib.Info(), -1, 1, 0);
        finalize();
        ExpectUnits(lib.Info(), 0, 1, 1);
        finalize();  // unbalanced: no effect
        ExpectUnits(lib.Info(), 0, 1, 1);

        lib.Close();
        EXPECT_FALSE(Loaded()) << "dlclose left the library in the process";
    }
}

TEST(LibraryLoad, NothingIsReadAfterFinalize) {
    Library lib;
    auto name = lib.Get<const char*(int)>("ribbonkit_symbology_name");
    auto measure = lib.Get<decltype(ribbonkit_measure)>("ribbonkit_measure");
    auto lastError = lib.Get<const char*()>("ribbonkit_last_error");
    EXPECT_STREQ(name(ribbon::bcCode39), "Code39");

    lib.Get<void()>("Finalize")();
    EXPECT_EQ(name(ribbon::bcCode39), nullptr);
    int width = 0;
    EXPECT_EQ(measure(ribbon::bcCode39, "A", 1, 2.0, 0, 50, 0, &width, nullptr, nullptr),
              RIBBONKIT_NOT_STARTED);
    EXPECT_STREQ(lastError(), "The library was finalized; call Initialize first.");

    lib.Get<void()>("Initialize")();
    EXPECT_STREQ(name(ribbon::bcCode39), "Code39");
    EXPECT_EQ(measure(ribbon::bcCode39, "A", 1, 2.0, 0, 50, 0, &width, nullptr, nullptr),
              RIBBONKIT_OK);
    EXPECT_EQ(width, 38);
}

// The desktop edition keeps the encoders' length assertions, through C++ and through C.
TEST(LibraryLoad, Ean13LengthFaultRaisesTheAssertion) {
    Library lib;
    using BarWidth = int(ribbon::TBarType, const std::string&, int, double, ribbon::TCheckSum,
                         const ribbon::TEditionRules&);
    auto barWidth = lib.Get<BarWidth>(
        "_ZN6ribbon13Z_GetBarWidthENS_8TBarTypeERKNSt7__cxx1112basic_"
        "stringIcSt11char_traitsIcESaIcEEEidNS_9TCheckSumERKNS_13TEditionRulesE");
    const std::string fourteen = "12345678901234";
    try {
        barWidth(ribbon::bcCodeEAN13, fourteen, 1, 2.0, ribbon::csNone, ribbon::DesktopRules);
        ADD_FAILURE() << "no assertion";
    } catch (const ribbon::EAssertionFailed& e) {
        EXPECT_EQ(ribbon::test::WithoutLineNumber(e.Message),
                  "EAN13 : Invalid barcode length. (BarDef.cpp, line N)");
    }

    auto measure = lib.Get<decltype(ribbonkit_measure)>("ribbonkit_measure");
    auto lastError = lib.Get<const char*()>("ribbonkit_last_error");
    int width = -1;
    EXPECT_EQ(
        measure(ribbon::bcCodeEAN13, fourteen.c_str(), 1, 2.0, 0, 50, 0, &width, nullptr, nullptr),
        RIBBONKIT_REJECTED);
    EXPECT_EQ(width, -1);
    EXPECT_NE(std::string(lastError()).find("EAN13 : Invalid barcode length. ("),
              std::string::npos);
}

}  // namespace
