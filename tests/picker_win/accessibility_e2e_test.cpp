// The picker as a screen reader sees it: the real module's accessible
// objects, got through oleacc's AccessibleObjectFromWindow from the
// driver's thread while the dialog runs on this one. The program runs at
// 96 DPI and again at 144 DPI (accessibility_e2e_dpi144).
#include <gtest/gtest.h>

#include <oleacc.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "chardata/char_table_kind.h"
#include "framework/scale.h"
#include "picker/Hover.h"
#include "plugin_fixture.h"
#include "popup_helpers.h"

namespace rf::test {
namespace {

using chardata::TCharTableKind;
using host::Control;

int RunDpi() {
  const char* dpi = std::getenv("RF_DPI");
  return dpi && *dpi ? std::atoi(dpi) : 96;
}

// COM on the calling thread for a scope.
struct ComScope {
  explicit ComScope(DWORD model) : hr(CoInitializeEx(nullptr, model)) {}
  ~ComScope() {
    if (SUCCEEDED(hr)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  HRESULT hr;
};

VARIANT Child(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

// The ANSI text of a BSTR, which it frees.
std::string Ansi(BSTR text) {
  if (!text) return "<null>";
  const int n = WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), nullptr,
                                    0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(SysStringLen(text)), out.data(), n, nullptr,
                      nullptr);
  SysFreeString(text);
  return out;
}

// One accessible object, released with the scope.
class Accessible {
 public:
  explicit Accessible(HWND window) {
    hr_ = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                     __uuidof(IAccessible), reinterpret_cast<void**>(&object_));
  }
  ~Accessible() {
    if (object_) object_->Release();
  }
  Accessible(const Accessible&) = delete;
  Accessible& operator=(const Accessible&) = delete;

  HRESULT Result() const { return hr_; }
  IAccessible* operator->() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

  using TextMethod = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
  std::string Text(TextMethod method, long child, HRESULT* hr = nullptr) const {
    BSTR text = nullptr;
    const HRESULT got = (object_->*method)(Child(child), &text);
    if (hr) *hr = got;
    return FAILED(got) ? "<failed>" : Ansi(text);
  }
  std::string Name(long child = CHILDID_SELF) const {
    return Text(&IAccessible::get_accName, child);
  }
  std::string Value(long child) const { return Text(&IAccessible::get_accValue, child); }
  std::string Description(long child) const {
    return Text(&IAccessible::get_accDescription, child);
  }
  long Number(HRESULT (STDMETHODCALLTYPE IAccessible::*method)(VARIANT, VARIANT*),
              long child) const {
    VARIANT v;
    VariantInit(&v);
    if (FAILED((object_->*method)(Child(child), &v)) || v.vt != VT_I4) return -1;
    return v.lVal;
  }
  long Role(long child) const { return Number(&IAccessible::get_accRole, child); }
  long State(long child) const { return Number(&IAccessible::get_accState, child); }
  long Count() const {
    long n = -1;
    return SUCCEEDED(object_->get_accChildCount(&n)) ? n : -1;
  }
  RECT Location(long child) const {
    long x = 0, y = 0, w = 0, h = 0;
    if (FAILED(object_->accLocation(&x, &y, &w, &h, Child(child)))) return {-1, -1, -1, -1};
    return {x, y, x + w, y + h};
  }
  // The child id hit, or -1 for nothing.
  long Hit(POINT screen) const {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(object_->accHitTest(screen.x, screen.y, &v)) || v.vt != VT_I4) return -1;
    return v.lVal;
  }
  long Step(long from, long direction) const {
    VARIANT v;
    VariantInit(&v);
    if (FAILED(object_->accNavigate(direction, Child(from), &v)) || v.vt != VT_I4) return -1;
    return v.lVal;
  }

 private:
  IAccessible* object_ = nullptr;
  HRESULT hr_ = E_FAIL;
};

// Closes the dialog when a failed assertion leaves the script early, so
// the run ends instead of waiting for its time-out.
struct CancelOnExit {
  HWND dialog;
  ~CancelOnExit() {
    if (IsWindow(dialog) && IsWindowVisible(dialog))
      host::PressButton(Control(dialog, "BtnAbbruch"));
  }
};

struct Sample {
  TCharTableKind kind;
  int outer, inner;  // the tabs that show it
  int cell;
  const char* table;
  const char* name;
  const char* entity_value;  // with "Entity &name;" chosen, as delivered
  const char* description;
};

// One cell of every picture geometry, named as the delivered file names it.
const Sample kSamples[] = {
    {chardata::ctANSI, 0, -1, 0, "ANSI", "EURO SIGN", "&euro;", "Dezimal 8364, U+20AC, &euro;"},
    {chardata::ctANSI, 0, -1, 1, "ANSI", "leer", "", ""},
    {chardata::ctISO8859_1, 1, 0, 14, "ISO 8859-1", "REGISTERED SIGN", "&reg;",
     "Dezimal 174, U+00AE, &reg;"},
    {chardata::ctISO8859_5, 1, 4, 84, "ISO 8859-5", "CYRILLIC SMALL LETTER UKRAINIAN IE", "&jukcy;",
     "Dezimal 1108, U+0454, &jukcy;"},
    {chardata::ctISO8859_11, 1, 10, 34, "ISO 8859-11", "THAI CHARACTER YO YAK", "",
     "Dezimal 3618, U+0E22"},
    {chardata::ctCP437, 2, -1, 1, "CP 437", "WHITE SMILING FACE", "", "Dezimal 9786, U+263A"},
    {chardata::ctCP850, 3, -1, 63, "CP 850", "LATIN SMALL LETTER F WITH HOOK", "&fnof;",
     "Dezimal 402, U+0192, &fnof;"},
    {chardata::ctTechnik, 4, -1, 39, "Technik", "leer", "", ""},
    {chardata::ctGrafik, 5, -1, 87, "Grafik", "BOX DRAWINGS LIGHT DOWN AND RIGHT", "&boxdr;",
     "Dezimal 9484, U+250C, &boxdr;"},
};

class AccessibilityTest : public DeliveredPluginTest {
 protected:
  const fw::Scale scale_{fw::ScalePercentForDpi(RunDpi())};

  // The cell's rectangle on the screen by the scale rule.
  RECT CellOnScreen(HWND picture, TCharTableKind kind, int cell) const {
    const picker::CellBox b = picker::CellBounds(picker::PictureOf(kind), cell);
    POINT p[2] = {{scale_.Edge(b.left), scale_.Edge(b.top)},
                  {scale_.Edge(b.right), scale_.Edge(b.bottom)}};
    MapWindowPoints(picture, HWND_DESKTOP, p, 2);
    return {p[0].x, p[0].y, p[1].x, p[1].y};
  }
};

std::string Show(const RECT& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
         "," + std::to_string(r.bottom);
}

// Every table's object: its name, role, count, and a sample of cells of
// every picture geometry with their texts, places and hit tests.
TEST_F(AccessibilityTest, TablesTellTheirCells) {
  std::vector<std::string> wrong;
  auto expect = [&](const std::string& what, const std::string& got, const std::string& want) {
    if (got != want) wrong.push_back(what + ": \"" + got + "\" not \"" + want + "\"");
  };
  const RunResult run = copy_->Run([&](HWND d) {
    const CancelOnExit cancel{d};
    ComScope com(COINIT_APARTMENTTHREADED);
    for (TCharTableKind kind : chardata::kAllCharTableKinds) {
      const picker::PictureParams& p = picker::PictureOf(kind);
      Accessible table(Control(d, std::string(p.picture)));
      ASSERT_TRUE(table) << p.picture << " " << std::hex << table.Result();
      EXPECT_EQ(table.Count(), chardata::TableEntryCount(kind)) << p.picture;
      EXPECT_EQ(table.Role(CHILDID_SELF), ROLE_SYSTEM_TABLE) << p.picture;
      EXPECT_EQ(table.Step(CHILDID_SELF, NAVDIR_FIRSTCHILD), 1) << p.picture;
      EXPECT_EQ(table.Step(CHILDID_SELF, NAVDIR_LASTCHILD), chardata::TableEntryCount(kind));
    }
    for (const Sample& s : kSamples) {
      host::SelectTab(Control(d, "PCChar"), s.outer);
      if (s.inner >= 0) host::SelectTab(Control(d, "PCiso"), s.inner);
      HWND picture = Control(d, std::string(picker::PictureOf(s.kind).picture));
      Accessible table(picture);
      ASSERT_TRUE(table);
      const long child = s.cell + 1;
      const std::string where = std::string(s.table) + " cell " + std::to_string(s.cell);
      expect(where + " table", table.Name(), s.table);
      expect(where + " name", table.Name(child), s.name);
      expect(where + " value", table.Value(child), s.entity_value);
      expect(where + " description", table.Description(child), s.description);
      EXPECT_EQ(table.Role(child), ROLE_SYSTEM_CELL) << where;
      EXPECT_EQ(table.State(child), STATE_SYSTEM_FOCUSABLE) << where;
      const RECT want = CellOnScreen(picture, s.kind, s.cell);
      expect(where + " location", Show(table.Location(child)), Show(want));
      const POINT centre = {(want.left + want.right) / 2, (want.top + want.bottom) / 2};
      EXPECT_EQ(table.Hit(centre), child) << where;
      // A cell's own grid lines belong to it, the next ones to its neighbours.
      EXPECT_EQ(table.Hit({want.right - 1, want.bottom - 1}), child) << where;
    }
    // The value follows the output kind chosen now.
    host::SelectTab(Control(d, "PCChar"), 0);
    Accessible ansi(Control(d, "IANSI"));
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 0);
    expect("ANSI decimal", ansi.Value(1), "&#8364;");
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 1);
    expect("ANSI CSS", ansi.Value(1), "\\0020AC");
    host::ChooseItem(Control(d, "RGAusgabeTyp"), 5);
    expect("ANSI URL", ansi.Value(1), "%E2%82%AC");
  });
  EXPECT_TRUE(run.script_ok);
  EXPECT_EQ(wrong, std::vector<std::string>{});
}

// Hit testing on the frame and beside the picture, navigation at the
// grid's edges, and child ids out of range.
TEST_F(AccessibilityTest, EdgesOfTheGridAndBadChildIds) {
  const RunResult run = copy_->Run([&](HWND d) {
    const CancelOnExit cancel{d};
    ComScope com(COINIT_APARTMENTTHREADED);
    host::SelectTab(Control(d, "PCChar"), 4);
    HWND picture = Control(d, "ITechnik");
    Accessible table(picture);
    ASSERT_TRUE(table);
    POINT origin = {0, 0};
    ClientToScreen(picture, &origin);
    const int mid = scale_.Edge(12);
    EXPECT_EQ(table.Hit({origin.x + scale_.Edge(1), origin.y + mid}), CHILDID_SELF);
    EXPECT_EQ(table.Hit({origin.x + scale_.Edge(2), origin.y + scale_.Edge(2)}), 1);
    EXPECT_EQ(table.Hit({origin.x + scale_.Edge(90), origin.y + mid}), CHILDID_SELF);
    EXPECT_EQ(table.Hit({origin.x - 5, origin.y + mid}), -1);
    // Technik: 5 columns of 8; cell 0 is child 1.
    EXPECT_EQ(table.Step(1, NAVDIR_DOWN), 2);
    EXPECT_EQ(table.Step(1, NAVDIR_RIGHT), 9);
    EXPECT_EQ(table.Step(1, NAVDIR_UP), -1);
    EXPECT_EQ(table.Step(1, NAVDIR_LEFT), -1);
    EXPECT_EQ(table.Step(8, NAVDIR_DOWN), -1);
    EXPECT_EQ(table.Step(40, NAVDIR_RIGHT), -1);
    EXPECT_EQ(table.Step(40, NAVDIR_LEFT), 32);
    EXPECT_EQ(table.Step(40, NAVDIR_NEXT), -1);
    EXPECT_EQ(table.Step(2, NAVDIR_PREVIOUS), 1);

    HRESULT hr = S_OK;
    for (long bad : {41L, -1L, 100000L}) {
      table.Text(&IAccessible::get_accName, bad, &hr);
      EXPECT_EQ(hr, E_INVALIDARG) << bad;
      long x, y, w, h;
      EXPECT_EQ(table->accLocation(&x, &y, &w, &h, Child(bad)), E_INVALIDARG) << bad;
      VARIANT v;
      VariantInit(&v);
      EXPECT_EQ(table->accNavigate(NAVDIR_DOWN, Child(bad), &v), E_INVALIDARG) << bad;
    }
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = nullptr;
    BSTR name = nullptr;
    EXPECT_EQ(table->get_accName(text, &name), E_INVALIDARG);
  });
  EXPECT_TRUE(run.script_ok);
}

// The eight edits carry their labels' captions, the user labels as the
// delivered file names them; the rest comes from the standard object.
TEST_F(AccessibilityTest, EditsAreNamedByTheirLabels) {
  const RunResult run = copy_->Run([&](HWND d) {
    const CancelOnExit cancel{d};
    ComScope com(COINIT_APARTMENTTHREADED);
    const std::pair<const char*, const char*> edits[] = {
        {"EdDez", "Dezimal:"},
        {"EdHex", "Hexadezimal:"},
        {"EdEntitie", "Entity:"},
        {"EdUser1", "CSS:"},
        {"EdUser2", "JavaScript:"},
        {"EdUser3", "URL:"},
        {"EdZeichenNr", "Zeichen Nr.:"},
        {"EdRueck",
         "R\xFC"
         "ckgabe Wert:"},
    };
    host::SetText(Control(d, "EdRueck"), "&reg;");
    for (const auto& [edit, label] : edits) {
      Accessible object(Control(d, edit));
      ASSERT_TRUE(object) << edit;
      EXPECT_EQ(object.Name(), label) << edit;
      EXPECT_EQ(object.Role(CHILDID_SELF), ROLE_SYSTEM_TEXT) << edit;
    }
    Accessible result(Control(d, "EdRueck"));
    EXPECT_EQ(result.Value(CHILDID_SELF), "&reg;");
  });
  EXPECT_TRUE(run.script_ok);
}

// The keyboard cursor's cell is the focused and selected child while its
// table has the focus. Needs the tables' keyboard cursor (Tab into the
// picture on show); without it the test is skipped.
TEST_F(AccessibilityTest, TheCursorsCellIsTheFocusedChild) {
  bool reached = false;
  long focus = -1, selection = -1, state_cursor = 0, state_other = 0;
  const RunResult run = copy_->Run([&](HWND d) {
    const CancelOnExit cancel{d};
    ComScope com(COINIT_APARTMENTTHREADED);
    host::SelectTab(Control(d, "PCChar"), 0);
    HWND picture = Control(d, "IANSI");
    for (int i = 0; i < 20 && FocusOf(d) != picture; ++i) {
      host::PostKey(FocusOf(d), VK_TAB);
      host::Sync(d);
    }
    reached = FocusOf(d) == picture;
    if (!reached) return;
    host::PostKey(picture, VK_RIGHT);  // from cell 0 to cell 8
    host::Sync(d);
    Accessible table(picture);
    ASSERT_TRUE(table);
    VARIANT v;
    VariantInit(&v);
    if (SUCCEEDED(table->get_accFocus(&v)) && v.vt == VT_I4) focus = v.lVal;
    VariantInit(&v);
    if (SUCCEEDED(table->get_accSelection(&v)) && v.vt == VT_I4) selection = v.lVal;
    state_cursor = table.State(9);
    state_other = table.State(1);
  });
  EXPECT_TRUE(run.script_ok);
  if (!reached) GTEST_SKIP() << "Tab does not reach the table: no keyboard cursor in this build";
  EXPECT_EQ(focus, 9);
  EXPECT_EQ(selection, 9);
  EXPECT_EQ(state_cursor, STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_FOCUSED | STATE_SYSTEM_SELECTED);
  EXPECT_EQ(state_other, STATE_SYSTEM_FOCUSABLE);
}

// A host thread with an apartment of its own serves the clients' calls
// itself while the dialog runs.
TEST_F(AccessibilityTest, HostWithItsOwnApartment) {
  const ComScope host_com(COINIT_APARTMENTTHREADED);
  ASSERT_TRUE(SUCCEEDED(host_com.hr));
  std::string name, edit;
  const RunResult run = copy_->Run([&](HWND d) {
    const CancelOnExit cancel{d};
    ComScope com(COINIT_MULTITHREADED);
    Accessible table(Control(d, "IISO8859_3"));
    Accessible result(Control(d, "EdRueck"));
    ASSERT_TRUE(table);
    ASSERT_TRUE(result);
    name = table.Name(33);
    edit = result.Name();
  });
  EXPECT_TRUE(run.script_ok);
  EXPECT_EQ(name, "LATIN CAPITAL LETTER A WITH GRAVE");
  EXPECT_EQ(edit,
            "R\xFC"
            "ckgabe Wert:");
}

// A client that keeps the objects after the picker closed gets errors,
// through a proxy (a host thread without COM: the object lives in the
// process's multithreaded apartment) and through the object itself (host
// and client in one multithreaded apartment, so calls come straight from
// the client's thread).
TEST_F(AccessibilityTest, ObjectsKeptAfterTheCloseAnswerErrors) {
  for (const bool shared_apartment : {false, true}) {
    SCOPED_TRACE(shared_apartment ? "one apartment" : "proxy");
    std::unique_ptr<ComScope> host_com;
    if (shared_apartment) host_com = std::make_unique<ComScope>(COINIT_MULTITHREADED);
    HRESULT after_close = S_OK, edit_after_close = S_OK;
    std::string name_before;
    const RunResult run = copy_->Run([&](HWND d) {
      const CancelOnExit cancel{d};
      ComScope com(shared_apartment ? COINIT_MULTITHREADED : COINIT_APARTMENTTHREADED);
      Accessible table(Control(d, "IGrafik"));
      Accessible edit(Control(d, "EdRueck"));
      ASSERT_TRUE(table);
      ASSERT_TRUE(edit);
      name_before = table.Name(88);
      host::PressButton(Control(d, "BtnAbbruch"));
      // Calls all through the close, the moment between hiding and
      // destruction too, each answered (the test's time-out catches a hang).
      WaitUntil(
          [&] {
            HRESULT ignored = S_OK;
            table.Text(&IAccessible::get_accName, 88, &ignored);
            edit.Text(&IAccessible::get_accName, CHILDID_SELF, &ignored);
            edit.Text(&IAccessible::get_accValue, CHILDID_SELF, &ignored);
            return !IsWindow(d);
          },
          10000);
      table.Text(&IAccessible::get_accName, 88, &after_close);
      edit.Text(&IAccessible::get_accName, CHILDID_SELF, &edit_after_close);
      long n = 0;
      EXPECT_TRUE(FAILED(table->get_accChildCount(&n)));
      VARIANT v;
      VariantInit(&v);
      EXPECT_TRUE(FAILED(table->accHitTest(0, 0, &v)));
    });
    EXPECT_TRUE(run.script_ok);
    EXPECT_EQ(name_before, "BOX DRAWINGS LIGHT DOWN AND RIGHT");
    EXPECT_TRUE(FAILED(after_close)) << std::hex << after_close;
    EXPECT_TRUE(FAILED(edit_after_close)) << std::hex << edit_after_close;
  }
}

}  // namespace
}  // namespace rf::test
