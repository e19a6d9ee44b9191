// The panel's properties: a new value is stored and tells the host once, an equal or
// out-of-range one changes nothing, and the properties a form file sets in pairs clear their
// Parent flag.

#include <gtest/gtest.h>

#include <functional>

#include "framework/Panel.h"

namespace ribbon {
namespace {

struct CountingHost : TControlHost {
    int Changed = 0;
    void ControlPainted() override {}
    void ControlChanged() override { ++Changed; }
};

TEST(Panel, SettersStoreAndTellTheHostOnce) {
    struct Case {
        const char* Name;
        std::function<void(TCustomPanel&)> Set;
        std::function<bool(const TCustomPanel&)> Holds;
        int Changes;
    };
    TFont bold;
    bold.Style = {fsBold};
    const Case cases[] = {
        {"Caption", [](TCustomPanel& p) { p.SetCaption("x"), p.SetCaption("x"); },
         [](const TCustomPanel& p) { return p.Caption() == "x"; }, 1},
        {"Color clears ParentColor", [](TCustomPanel& p) { p.SetColor(clNavy); },
         [](const TCustomPanel& p) { return p.Color() == clNavy && !p.ParentColor; }, 1},
        {"Color equal", [](TCustomPanel& p) { p.ParentColor = true, p.SetColor(clBtnFace); },
         [](const TCustomPanel& p) { return p.ParentColor; }, 0},
        {"Font clears ParentFont", [&bold](TCustomPanel& p) { p.SetFont(bold); },
         [&bold](const TCustomPanel& p) { return p.Font() == bold && !p.ParentFont; }, 1},
        {"Alignment out of range", [](TCustomPanel& p) { p.SetAlignment(TAlignment(3)); },
         [](const TCustomPanel& p) { return p.Alignment() == taCenter; }, 0},
        {"Bevels", [](TCustomPanel& p) { p.SetBevelInner(bvLowered), p.SetBevelOuter(bvNone); },
         [](const TCustomPanel& p) {
             return p.BevelInner() == bvLowered && p.BevelOuter() == bvNone;
         },
         2},
        {"BevelWidth 0 ignored", [](TCustomPanel& p) { p.SetBevelWidth(0); },
         [](const TCustomPanel& p) { return p.BevelWidth() == 1; }, 0},
        {"BorderWidth -1 ignored, 3 taken",
         [](TCustomPanel& p) { p.SetBorderWidth(-1), p.SetBorderWidth(3); },
         [](const TCustomPanel& p) { return p.BorderWidth() == 3; }, 1},
        {"BorderStyle resizes the client",
         [](TCustomPanel& p) { p.SetBorderStyle(bsSingle), p.SetBorderStyle(TBorderStyle(2)); },
         [](const TCustomPanel& p) { return p.ClientWidth() == p.Width() - 4; }, 1},
        {"Ctl3D clears ParentCtl3D", [](TCustomPanel& p) { p.SetCtl3D(false); },
         [](const TCustomPanel& p) { return !p.Ctl3D() && !p.ParentCtl3D; }, 1},
        {"Visible, Enabled", [](TCustomPanel& p) { p.SetVisible(false), p.SetEnabled(true); },
         [](const TCustomPanel& p) { return !p.Visible() && p.Enabled(); }, 1},
    };
    for (const Case& k : cases) {
        TCustomPanel panel(nullptr);
        CountingHost host;
        panel.SetHost(&host);
        k.Set(panel);
        EXPECT_TRUE(k.Holds(panel)) << k.Name;
        EXPECT_EQ(host.Changed, k.Changes) << k.Name;
    }
}

}  // namespace
}  // namespace ribbon
