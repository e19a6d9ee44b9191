#include "components/FormProperties.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <type_traits>
#include <vector>

#include "components/TableSource.h"
#include "components/pDBBarcode.h"
#include "engine/Symbologies.h"

namespace ribbon {

namespace {

// ---- the identifiers of the enumerations, indexed by value

constexpr std::array<std::string_view, BarTypeCount> BarTypeNames = [] {
    std::array<std::string_view, BarTypeCount> names{};
    for (int i = 0; i < BarTypeCount; ++i) names[i] = Symbologies[i].Identifier;
    return names;
}();
// The engine's enumerations and TOrientation bring their identifiers with their declarations
// (TCheckSumNames, ...; RIBBON_ENUM); the panel's own ones are listed here.
constexpr std::array<std::string_view, 3> AlignmentNames = {"taLeftJustify", "taRightJustify",
                                                            "taCenter"};
constexpr std::array<std::string_view, 4> BevelNames = {"bvNone", "bvLowered", "bvRaised",
                                                        "bvSpace"};
constexpr std::array<std::string_view, 2> BorderStyleNames = {"bsNone", "bsSingle"};
constexpr std::array<std::string_view, 7> AlignNames = {"alNone",  "alTop",    "alBottom", "alLeft",
                                                        "alRight", "alClient", "alCustom"};
constexpr std::array<std::string_view, 4> BiDiModeNames = {
    "bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"};
constexpr std::array<std::string_view, 2> DragKindNames = {"dkDrag", "dkDock"};
constexpr std::array<std::string_view, 2> DragModeNames = {"dmManual", "dmAutomatic"};
constexpr std::array<std::string_view, 4> AnchorNames = {"akLeft", "akTop", "akRight", "akBottom"};
constexpr std::array<std::string_view, 4> FontStyleNames = {"fsBold", "fsItalic", "fsUnderline",
                                                            "fsStrikeOut"};

struct NamedValue {
    std::string_view Name;
    int Value;
};
constexpr std::array<NamedValue, 2> CharsetNames = {
    {{"ANSI_CHARSET", ANSI_CHARSET}, {"DEFAULT_CHARSET", DEFAULT_CHARSET}}};
constexpr std::array<NamedValue, 23> CursorNames = {{
    {"crDefault", 0},     {"crNone", -1},     {"crArrow", -2},      {"crCross", -3},
    {"crIBeam", -4},      {"crSizeNESW", -6}, {"crSizeNS", -7},     {"crSizeNWSE", -8},
    {"crSizeWE", -9},     {"crUpArrow", -10}, {"crHourGlass", -11}, {"crDrag", -12},
    {"crNoDrop", -13},    {"crHSplit", -14},  {"crVSplit", -15},    {"crMultiDrag", -16},
    {"crSQLWait", -17},   {"crNo", -18},      {"crAppStart", -19},  {"crHelp", -20},
    {"crHandPoint", -21}, {"crSizeAll", -22}, {"crSize", -22},
}};
[[noreturn]] void Invalid(const TFormValue& v) {
    throw Exception(Format("'%s' is not a valid value", v.Text));
}

template <const auto& Names>
std::string Listed() {
    std::string out;
    for (const auto& n : Names) {
        if constexpr (requires { n.Name; })
            out += (out.empty() ? "" : ", ") + std::string(n.Name);
        else
            out += (out.empty() ? "" : ", ") + std::string(n);
    }
    return out;
}

// ---- codecs: a value type to and from form-file text

struct IntCodec {
    static const TTypeInfo& Type() { return TypeInfoOf<int>(); }
    static std::string Describe() { return "integer"; }
    static std::string Write(int v) { return std::to_string(v); }
    static int Read(const TFormValue& v, const TFormContext&) {
        if (v.Kind != TFormValue::Integer || v.IntegerValue < std::numeric_limits<int>::min() ||
            v.IntegerValue > std::numeric_limits<int>::max())
            Invalid(v);
        return static_cast<int>(v.IntegerValue);
    }
};

struct BoolCodec {
    static const TTypeInfo& Type() { return TypeInfoOf<bool>(); }
    static std::string Describe() { return "True or False"; }
    static std::string Write(bool v) { return v ? "True" : "False"; }
    static bool Read(const TFormValue& v, const TFormContext&) {
        if (v.Kind == TFormValue::Identifier && SameText(v.Text, "True")) return true;
        if (v.Kind == TFormValue::Identifier && SameText(v.Text, "False")) return false;
        Invalid(v);
    }
};

struct RealCodec {
    static const TTypeInfo& Type() { return TypeInfoOf<double>(); }
    static std::string Describe() { return "number"; }
    static std::string Write(double v) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, v);  // shortest text that reads back
        return std::string(buf, r.ptr);
    }
    static double Read(const TFormValue& v, const TFormContext&) {
        if (v.Kind != TFormValue::Integer && v.Kind != TFormValue::Real) Invalid(v);
        return v.RealValue;
    }
};

struct StringCodec {
    static const TTypeInfo& Type() { return StringTypeInfo(); }
    static std::string Describe() { return "string"; }
    static std::string Write(const std::string& v) { return QuoteFormString(v); }
    static std::string Read(const TFormValue& v, const TFormContext&) {
        if (v.Kind != TFormValue::String) Invalid(v);
        return v.Text;
    }
};

// Colours by name ("clRed", and the panel's "clBtnFace"), others as $00BBGGRR.
struct ColorCodec {
    static const TTypeInfo& Type() { return ColorTypeInfo(); }
    static std::string Describe() {
        std::string out = "colour: ";
        for (const TColorName& c : ColorNames) out += "cl" + std::string(c.Name) + ", ";
        return out + "clBtnFace or $00BBGGRR";
    }
    static std::string Write(TColor v) {
        if (v == clBtnFace) return "clBtnFace";
        for (const TColorName& c : ColorNames)
            if (c.Value == v) return "cl" + std::string(c.Name);
        char buf[16];
        std::snprintf(buf, sizeof buf, "$%08X", static_cast<unsigned>(v));
        return buf;
    }
    static TColor Read(const TFormValue& v, const TFormContext&) {
        if (v.Kind == TFormValue::Identifier) {
            if (SameText(v.Text, "clBtnFace")) return clBtnFace;
            if (auto c = IdentToColor(v.Text)) return *c;
        }
        if (v.Kind == TFormValue::Integer && v.IntegerValue >= 0 && v.IntegerValue <= 0xFFFFFF)
            return static_cast<TColor>(v.IntegerValue);
        Invalid(v);
    }
};

template <typename E, const auto& Names>
struct EnumCodec {
    // The barcode's own enumerations carry type information; the panel's do not.
    static const TTypeInfo& Type() requires(std::is_same_v<E, TBarType> ||
                                            std::is_same_v<E, TCheckSum> ||
                                            std::is_same_v<E, TOrientation> ||
                                            std::is_same_v<E, TTextShow> ||
                                            std::is_same_v<E, TTextPosition>) {
        return TypeInfoOf<E>();
    }
    static std::string Describe() {
        if constexpr (std::is_same_v<E, TBarType>)
            return "a symbology identifier of `ribbon types`";
        else
            return "one of " + Listed<Names>();
    }
    static std::string Write(E v) {
        return v < std::size(Names) ? std::string(Names[v]) : std::to_string(int{v});
    }
    static E Read(const TFormValue& v, const TFormContext&) {
        if (v.Kind == TFormValue::Identifier)
            for (std::size_t i = 0; i < std::size(Names); ++i)
                if (SameText(Names[i], v.Text)) return static_cast<E>(i);
        Invalid(v);
    }
};

template <typename S, typename E, const auto& Names>
struct SetCodec {
    static std::string Describe() { return "set of " + Listed<Names>() + ": [a, b]"; }
    static std::string Write(S v) {
        std::string out;
        for (std::size_t i = 0; i < std::size(Names); ++i)
            if (v.Contains(static_cast<E>(i)))
                out += (out.empty() ? "" : ", ") + std::string(Names[i]);
        return "[" + out + "]";
    }
    static S Read(const TFormValue& v, const TFormContext& x) {
        if (v.Kind != TFormValue::Set) Invalid(v);
        S set;
        for (const std::string& m : v.Members) {
            TFormValue member;
            member.Text = m;
            set.Include(EnumCodec<E, Names>::Read(member, x));
        }
        return set;
    }
};

template <typename T, const auto& Names>
struct NamedIntCodec {
    static std::string Describe() { return "integer or one of " + Listed<Names>(); }
    static std::string Write(T v) {
        for (const auto& n : Names)
            if (n.Value == v) return std::string(n.Name);
        return std::to_string(v);
    }
    static T Read(const TFormValue& v, const TFormContext&) {
        if (v.Kind == TFormValue::Identifier)
            for (const auto& n : Names)
                if (SameText(n.Name, v.Text)) return static_cast<T>(n.Value);
        if (v.Kind == TFormValue::Integer && v.IntegerValue >= std::numeric_limits<T>::min() &&
            v.IntegerValue <= std::numeric_limits<T>::max())
            return static_cast<T>(v.IntegerValue);
        Invalid(v);
    }
};

struct ComponentCodec {
    static std::string Describe() { return "name of a component of the form, or nil"; }
    static std::string Write(TComponent* v) { return v ? v->Name() : "nil"; }
    static TComponent* Read(const TFormValue& v, const TFormContext& x) {
        if (v.Kind != TFormValue::Identifier) Invalid(v);
        if (SameText(v.Text, "nil")) return nullptr;
        TComponent* c = x.Lookup ? x.Lookup->FindComponent(v.Text) : nullptr;
        if (!c) throw Exception(Format("'%s' is no component of the form", v.Text));
        return c;
    }
};

template <typename Event>
struct EventCodec {
    static const TTypeInfo& Type() requires std::is_same_v<Event, TInvalidChar> {
        return TypeInfoOf<TInvalidChar>();
    }
    static std::string Describe() { return "name of a method of the form"; }
    static std::string Write(const Event& v) { return v.MethodName(); }
    static Event Read(const TFormValue& v, const TFormContext& x) {
        if (v.Kind != TFormValue::Identifier) Invalid(v);
        if (!x.Methods) throw Exception(Format("the form has no method named '%s'", v.Text));
        return x.Methods->Find<Event>(v.Text);
    }
};

// ---- reaching a property: a getter and setter pair, a public field, or a free function pair

template <auto M>
decltype(auto) Get(const TBarCode& c) {
    if constexpr (std::is_member_function_pointer_v<decltype(M)>)
        return (c.*M)();
    else if constexpr (std::is_member_object_pointer_v<decltype(M)>)
        return (c.*M);
    else
        return M(c);
}

template <auto M, typename T>
void Put(TBarCode& c, T&& v) {
    if constexpr (std::is_member_function_pointer_v<decltype(M)>)
        (c.*M)(std::forward<T>(v));
    else if constexpr (std::is_member_object_pointer_v<decltype(M)>)
        c.*M = std::forward<T>(v);
    else
        M(c, std::forward<T>(v));
}

template <typename Codec>
const TTypeInfo* TypeOf() {
    if constexpr (requires { Codec::Type(); })
        return &Codec::Type();
    else
        return nullptr;
}

template <typename Codec, auto Getter, auto Setter>
constexpr TPropertyInfo Prop(std::string_view Name,
                             TPropertyInfo::TStorage Storage = TPropertyInfo::StoredIfChanged) {
    return {Name,
            Storage,
            false,
            [](const TBarCode& c) { return Codec::Write(Get<Getter>(c)); },
            [](TBarCode& c, const TFormValue& v, const TFormContext& x) {
                Put<Setter>(c, Codec::Read(v, x));
            },
            TypeOf<Codec>,
            Codec::Describe};
}

// Event and field properties read and write the same member.
template <typename Codec, auto Member>
constexpr TPropertyInfo Field(std::string_view Name) {
    return Prop<Codec, Member, Member>(Name);
}

template <auto Member>
constexpr TPropertyInfo EventProp(std::string_view Name) {
    using Event = std::remove_cvref_t<decltype(std::declval<TBarCode&>().*Member)>;
    return {Name,
            TPropertyInfo::StoredIfChanged,
            true,
            [](const TBarCode& c) { return EventCodec<Event>::Write(c.*Member); },
            [](TBarCode& c, const TFormValue& v, const TFormContext& x) {
                Event e = EventCodec<Event>::Read(v, x);
                if (x.AssignEvents) c.*Member = std::move(e);
            },
            TypeOf<EventCodec<Event>>,
            EventCodec<Event>::Describe};
}

// ---- the parts of Font and Constraints, reached through copies

template <auto Part>
auto FontPart(const TBarCode& c) {
    return c.Font().*Part;
}
template <auto Part, typename T>
void SetFontPart(TBarCode& c, T v) {
    TFont f = c.Font();
    f.*Part = v;
    c.SetFont(f);
}
// The font's character height in pixels at the screen's 96 pixels per inch, negative as the
// logical description has it; read back into points.
int FontHeight(const TBarCode& c) {
    return c.Font().PixelHeight(TCanvas::ScreenPixelsPerInch);
}
void SetFontHeight(TBarCode& c, int Height) {
    const long long pixels = Height < 0 ? -static_cast<long long>(Height) : Height;
    if (pixels > 100000) throw Exception(Format("'%d' is not a valid value", Height));
    SetFontPart<&TFont::Size>(c, static_cast<int>((pixels * 72 + 48) / 96));
}
template <auto Part>
int Constraint(const TBarCode& c) {
    return c.Constraints().*Part;
}
template <auto Part>
void SetConstraint(TBarCode& c, int v) {
    TSizeConstraints s = c.Constraints();
    s.*Part = v;
    c.SetConstraints(s);
}

using P = TPropertyInfo;
using Bar = TBarCode;
using Panel = TCustomPanel;

const TPropertyInfo Properties[] = {
    Prop<IntCodec, &Panel::Left, &Panel::SetLeft>("Left", P::AlwaysStored),
    Prop<IntCodec, &Panel::Top, &Panel::SetTop>("Top", P::AlwaysStored),
    Prop<IntCodec, &Panel::Width, &Panel::SetWidth>("Width", P::AlwaysStored),
    Prop<IntCodec, &Panel::Height, &Panel::SetHeight>("Height", P::AlwaysStored),
    // The control's own properties.
    Prop<EnumCodec<TBarType, BarTypeNames>, &Bar::BarType, &Bar::SetBarType>("BarType"),
    Prop<StringCodec, &Bar::BarCode, &Bar::SetBarcode>("BarCode", P::AlwaysStored),
    Prop<IntCodec, &Bar::BarHeight, &Bar::SetBarHeight>("BarHeight"),
    Prop<IntCodec, &Bar::Modul, &Bar::SetModul>("Modul", P::AlwaysStored),
    Prop<RealCodec, &Bar::Ratio, &Bar::SetRatio>("Ratio", P::AlwaysStored),
    Prop<EnumCodec<TCheckSum, TCheckSumNames>, &Bar::CheckSum, &Bar::SetCheckSum>("CheckSum"),
    Prop<ColorCodec, &Bar::ColorSpc, &Bar::SetColorSpc>("ColorSpc"),
    Prop<ColorCodec, &Bar::ColorBar, &Bar::SetColorBar>("ColorBar"),
    Prop<EnumCodec<TOrientation, TOrientationNames>, &Bar::Orientation, &Bar::SetOrientation>(
        "Orientation"),
    Prop<EnumCodec<TTextShow, TTextShowNames>, &Bar::TextShow, &Bar::SetTextShow>("TextShow"),
    Prop<EnumCodec<TTextPosition, TTextPositionNames>, &Bar::TextPosition, &Bar::SetTextPosition>(
        "TextPosition"),
    Prop<ColorCodec, &Bar::TextColor, &Bar::SetTextColor>("TextColor"),
    Prop<BoolCodec, &Bar::AutoWidth, &Bar::SetAutoWidth>("AutoWidth"),
    Prop<IntCodec, &Bar::HMargin, &Bar::SetHMargin>("HMargin"),
    Prop<StringCodec, &Bar::About, &Bar::SetAbout>("About", P::AlwaysStored),
    EventProp<&Bar::OnChange>("OnChange"),
    EventProp<&Bar::OnInvalidChar>("OnInvalidChar"),
    // The panel's, republished.
    Field<EnumCodec<TAlign, AlignNames>, &Panel::Align>("Align"),
    Prop<EnumCodec<TAlignment, AlignmentNames>, &Panel::Alignment, &Panel::SetAlignment>(
        "Alignment"),
    Field<SetCodec<TAnchors, TAnchorKind, AnchorNames>, &Panel::Anchors>("Anchors"),
    Field<BoolCodec, &Panel::AutoSize>("AutoSize"),
    Prop<EnumCodec<TPanelBevel, BevelNames>, &Panel::BevelInner, &Panel::SetBevelInner>(
        "BevelInner"),
    Prop<EnumCodec<TPanelBevel, BevelNames>, &Panel::BevelOuter, &Panel::SetBevelOuter>(
        "BevelOuter"),
    Prop<IntCodec, &Panel::BevelWidth, &Panel::SetBevelWidth>("BevelWidth"),
    Field<EnumCodec<TBiDiMode, BiDiModeNames>, &Panel::BiDiMode>("BiDiMode"),
    Prop<IntCodec, &Panel::BorderWidth, &Panel::SetBorderWidth>("BorderWidth"),
    Prop<EnumCodec<TBorderStyle, BorderStyleNames>, &Panel::BorderStyle, &Panel::SetBorderStyle>(
        "BorderStyle"),
    Prop<ColorCodec, &Panel::Color, &Panel::SetColor>("Color"),
    Prop<IntCodec, Constraint<&TSizeConstraints::MaxHeight>,
         SetConstraint<&TSizeConstraints::MaxHeight>>("Constraints.MaxHeight"),
    Prop<IntCodec, Constraint<&TSizeConstraints::MaxWidth>,
         SetConstraint<&TSizeConstraints::MaxWidth>>("Constraints.MaxWidth"),
    Prop<IntCodec, Constraint<&TSizeConstraints::MinHeight>,
         SetConstraint<&TSizeConstraints::MinHeight>>("Constraints.MinHeight"),
    Prop<IntCodec, Constraint<&TSizeConstraints::MinWidth>,
         SetConstraint<&TSizeConstraints::MinWidth>>("Constraints.MinWidth"),
    Prop<BoolCodec, &Panel::Ctl3D, &Panel::SetCtl3D>("Ctl3D"),
    Field<BoolCodec, &Panel::UseDockManager>("UseDockManager"),
    Field<BoolCodec, &Panel::DockSite>("DockSite"),
    Field<NamedIntCodec<TCursor, CursorNames>, &Panel::DragCursor>("DragCursor"),
    Field<EnumCodec<TDragKind, DragKindNames>, &Panel::DragKind>("DragKind"),
    Field<EnumCodec<TDragMode, DragModeNames>, &Panel::DragMode>("DragMode"),
    Prop<BoolCodec, &Panel::Enabled, &Panel::SetEnabled>("Enabled"),
    Field<BoolCodec, &Panel::FullRepaint>("FullRepaint"),
    Prop<NamedIntCodec<TFontCharset, CharsetNames>, FontPart<&TFont::Charset>,
         SetFontPart<&TFont::Charset, TFontCharset>>("Font.Charset"),
    Prop<ColorCodec, FontPart<&TFont::Color>, SetFontPart<&TFont::Color, TColor>>("Font.Color"),
    Prop<IntCodec, FontHeight, SetFontHeight>("Font.Height"),
    Prop<IntCodec, FontPart<&TFont::Size>, SetFontPart<&TFont::Size, int>>("Font.Size",
                                                                           P::NeverStored),
    Prop<StringCodec, FontPart<&TFont::Name>, SetFontPart<&TFont::Name, std::string>>("Font.Name"),
    Prop<SetCodec<TFontStyles, TFontStyle, FontStyleNames>, FontPart<&TFont::Style>,
         SetFontPart<&TFont::Style, TFontStyles>>("Font.Style"),
    Field<BoolCodec, &Panel::Locked>("Locked"),
    Field<BoolCodec, &Panel::ParentBiDiMode>("ParentBiDiMode"),
    Field<BoolCodec, &Panel::ParentColor>("ParentColor"),
    Field<BoolCodec, &Panel::ParentCtl3D>("ParentCtl3D"),
    Field<BoolCodec, &Panel::ParentFont>("ParentFont"),
    Field<BoolCodec, &Panel::ParentShowHint>("ParentShowHint"),
    Prop<ComponentCodec, &Panel::PopupMenu, &Panel::SetPopupMenu>("PopupMenu"),
    Field<BoolCodec, &Panel::ShowHint>("ShowHint"),
    Field<IntCodec, &Panel::TabOrder>("TabOrder"),
    Field<BoolCodec, &Panel::TabStop>("TabStop"),
    Prop<BoolCodec, &Panel::Visible, &Panel::SetVisible>("Visible"),
    EventProp<&Panel::OnCanResize>("OnCanResize"),
    EventProp<&Panel::OnClick>("OnClick"),
    EventProp<&Panel::OnConstrainedResize>("OnConstrainedResize"),
    EventProp<&Panel::OnContextPopup>("OnContextPopup"),
    EventProp<&Panel::OnDockDrop>("OnDockDrop"),
    EventProp<&Panel::OnDockOver>("OnDockOver"),
    EventProp<&Panel::OnDblClick>("OnDblClick"),
    EventProp<&Panel::OnDragDrop>("OnDragDrop"),
    EventProp<&Panel::OnDragOver>("OnDragOver"),
    EventProp<&Panel::OnEndDock>("OnEndDock"),
    EventProp<&Panel::OnEndDrag>("OnEndDrag"),
    EventProp<&Panel::OnEnter>("OnEnter"),
    EventProp<&Panel::OnExit>("OnExit"),
    EventProp<&Panel::OnGetSiteInfo>("OnGetSiteInfo"),
    EventProp<&Panel::OnMouseDown>("OnMouseDown"),
    EventProp<&Panel::OnMouseMove>("OnMouseMove"),
    EventProp<&Panel::OnMouseUp>("OnMouseUp"),
    EventProp<&Panel::OnResize>("OnResize"),
    EventProp<&Panel::OnStartDock>("OnStartDock"),
    EventProp<&Panel::OnStartDrag>("OnStartDrag"),
    EventProp<&Panel::OnUnDock>("OnUnDock"),
};

// ---- TDBBarcode's own properties, after TBarCode's

// A component reference that must name a data source.
struct DataSourceCodec {
    static std::string Describe() { return "name of a data source of the form, or nil"; }
    static std::string Write(TDataSource* v) {
        // A reference the file cannot name would not read back.
        if (v && v->Name().empty()) throw Exception("the data source has no name");
        return ComponentCodec::Write(v);
    }
    static TDataSource* Read(const TFormValue& v, const TFormContext& x) {
        TComponent* c = ComponentCodec::Read(v, x);
        auto* source = dynamic_cast<TDataSource*>(c);
        if (c && !source) throw Exception(Format("'%s' is not a data source", v.Text));
        return source;
    }
};

// Read on a data-aware control only; any other control reads as a new TDBBarcode would.
template <typename Codec, auto Getter, auto Setter>
TPropertyInfo DBProp(std::string_view Name) {
    return {Name,
            TPropertyInfo::StoredIfChanged,
            false,
            [](const TBarCode& c) {
                static const TDBBarcode fresh(nullptr);
                const auto* d = dynamic_cast<const TDBBarcode*>(&c);
                return Codec::Write(((d ? *d : fresh).*Getter)());
            },
            [](TBarCode& c, const TFormValue& v, const TFormContext& x) {
                auto* d = dynamic_cast<TDBBarcode*>(&c);
                if (!d) throw Exception("only a TDBBarcode has this property");
                (d->*Setter)(Codec::Read(v, x));
            },
            TypeOf<Codec>,
            Codec::Describe};
}

using DB = TDBBarcode;

const std::vector<TPropertyInfo>& DBBarcodePropertyList() {
    static const std::vector<TPropertyInfo> list = [] {
        std::vector<TPropertyInfo> all(std::begin(Properties), std::end(Properties));
        all.push_back(DBProp<StringCodec, &DB::DataField, &DB::SetDataField>("DataField"));
        all.push_back(DBProp<DataSourceCodec, &DB::DataSource, &DB::SetDataSource>("DataSource"));
        all.push_back(DBProp<BoolCodec, &DB::ReadOnly, &DB::SetReadOnly>("ReadOnly"));
        return all;
    }();
    return list;
}

// ---- TTableSource's properties

template <typename Codec, auto Getter, auto Setter>
constexpr TSourcePropertyInfo SourceProp(std::string_view Name, TPropertyInfo::TStorage Storage) {
    return {Name, Storage, [](const TTableSource& s) { return Codec::Write((s.*Getter)()); },
            [](TTableSource& s, const TFormValue& v) { (s.*Setter)(Codec::Read(v, {})); },
            Codec::Describe};
}

using Source = TTableSource;

const TSourcePropertyInfo SourceProperties[] = {
    SourceProp<StringCodec, &Source::DatabaseName, &Source::SetDatabaseName>("DatabaseName",
                                                                             P::AlwaysStored),
    SourceProp<StringCodec, &Source::TableName, &Source::SetTableName>("TableName",
                                                                       P::AlwaysStored),
    SourceProp<IntCodec, &Source::RecNo, &Source::SetRecNo>("RecNo", P::StoredIfChanged),
};

// One row of the property table in Markdown.
std::string Row(std::string_view Name, std::string_view Classes, const std::string& Value,
                const std::string& Default, TPropertyInfo::TStorage Storage, bool Event) {
    const char* written = Event                                    ? "when it names a method"
                          : Storage == TPropertyInfo::AlwaysStored ? "always"
                          : Storage == TPropertyInfo::NeverStored  ? "never (read only)"
                                                                   : "when not the default";
    return Format("| %s | %s | %s | %s | %s |\n", std::string(Name), std::string(Classes), Value,
                  Default.empty() ? std::string() : "`" + Default + "`", written);
}

}  // namespace

std::span<const TSourcePropertyInfo> TableSourceProperties() {
    return SourceProperties;
}

const TSourcePropertyInfo* FindTableSourceProperty(std::string_view Name) {
    for (const TSourcePropertyInfo& p : SourceProperties)
        if (SameText(p.Name, Name)) return &p;
    return nullptr;
}

std::string FormPropertyTable() {
    std::string out =
        "| Property | Objects | Value | Default | Written |\n"
        "|---|---|---|---|---|\n";
    static const TBarCode fresh(nullptr);
    for (const TPropertyInfo& p : PropertiesOf("TDBBarcode")) {
        const bool own = !FindBarCodeProperty(p.Name);
        out += Row(p.Name, own ? "TDBBarcode" : "TBarCode, TDBBarcode", p.Value(), p.Write(fresh),
                   p.Storage, p.Event);
    }
    const TTableSource source;
    for (const TSourcePropertyInfo& p : SourceProperties)
        out += Row(p.Name, "TTableSource", p.Value(), p.Write(source), p.Storage, false);
    return out;
}

std::span<const TPropertyInfo> PropertiesOf(std::string_view ClassName) {
    if (ClassName == "TDBBarcode") return DBBarcodePropertyList();
    return Properties;
}

const TPropertyInfo* FindProperty(std::string_view ClassName, std::string_view Name) {
    for (const TPropertyInfo& p : PropertiesOf(ClassName))
        if (SameText(p.Name, Name)) return &p;
    return nullptr;
}

const char* FormClassName(const TBarCode& Control) {
    // Without a binding a data-aware control is a plain one, which any control reads.
    const auto* d = dynamic_cast<const TDBBarcode*>(&Control);
    return d && (d->DataSource() || !d->DataField().empty() || d->ReadOnly()) ? "TDBBarcode"
                                                                              : "TBarCode";
}

std::span<const TPropertyInfo> BarCodeProperties() {
    return Properties;
}

const TPropertyInfo* FindBarCodeProperty(std::string_view Name) {
    for (const TPropertyInfo& p : Properties)
        if (SameText(p.Name, Name)) return &p;
    return nullptr;
}

bool IsDefaultValue(const TPropertyInfo& Property, const TBarCode& Control) {
    static const TBarCode fresh(nullptr);
    return Property.Write(Control) == Property.Write(fresh);
}

}  // namespace ribbon
