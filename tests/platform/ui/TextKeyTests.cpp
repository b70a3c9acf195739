// Keys pressed on the keyboard reach the text field that has them: the key window's first
// responder, a retained field or a field element of a hosted tree.
#include "UiTestFixture.hpp"

#include "platform/control/SimInput.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/input/KeyChord.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/HostingView.hpp"

#include <string>
#include <vector>

namespace dv = platform::ui::declarative;
using namespace platform::ui;
using platform::SimInput;

namespace {

/// Two field elements, "name" with a commit action and "note" without one; "name" leaves the tree
/// when `showName` turns off.
struct KeyForm : dv::Component<KeyForm> {
    dv::State<std::string> name{this, ""};
    dv::State<std::string> note{this, ""};
    dv::State<bool> showName{this, true};
    int commits = 0;

    dv::Element body() override {
        std::vector<dv::Element> rows;
        if (showName.get()) rows.push_back(dv::TextField("Name", name.binding(), [this] { ++commits; }).id("name"));
        rows.push_back(dv::TextField("Note", note.binding()).id("note"));
        return dv::VStack(dv::Alignment::leading, 8, rows);
    }
};

/// Counts the actions of the retained field.
struct Target : Responder {
    int actions = 0;
    Target() {
        registerAction("done:", [this](Responder*) { ++actions; });
    }
};

/// A key window holding a hosted form above a retained field ("field"), keys going to the program.
class TextKeyTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        form = std::make_shared<KeyForm>();
        target = std::make_shared<Target>();
        window = std::make_shared<Window>(Rect{100, 100, 400, 300}, StyleMask::titled);
        auto content = std::make_shared<View>(Rect{0, 0, 400, 272});
        host = std::make_shared<dv::HostingView>(form, Rect{0, 72, 400, 200});
        content->addSubview(host);
        field = TextField::textFieldWithString("");
        field->setFrame({10, 10, 200, 22});
        field->setTarget(target);
        field->action = "done:";
        content->addSubview(field);
        window->setContentView(content);
        window->makeKeyAndOrderFront();
        SimInput::shared().setKeysGoToProgram([] { return true; });
        Application::shared().run();
    }

    /// Gives the keys to "name", "note" or "field" as a click does.
    void focus(const std::string& which) {
        if (which == "field") {
            ASSERT_TRUE(UISimulator::click(*field));
        } else {
            ASSERT_TRUE(dv::ViewDriver(*host).click(which));
        }
    }
    /// Presses the chords ("shift+d", "delete", ...) and lets the application dispatch them.
    void press(const std::vector<std::string>& chords) {
        for (const auto& chord : chords) {
            const auto parsed = platform::KeyChord::parse(chord);
            ASSERT_TRUE(parsed) << chord;
            SimInput::shared().press(*parsed);
        }
        sim().drainMainQueue();
        host->rebuildIfNeeded();
    }
    /// Who has the keys: "name", "note", "field" or "" (the window itself).
    std::string focused() const {
        if (window->firstResponder() == field.get()) return field->isEditing() ? "field" : "field, not editing";
        if (window->firstResponder() != host.get() || !host->focusedField()) return "";
        const auto* node = dv::ViewDriver(*host).find("name");
        return node && node->key == *host->focusedField() ? "name" : "note";
    }
    std::string text(const std::string& which) const {
        if (which == "name") return form->name.get();
        if (which == "note") return form->note.get();
        return field->stringValue();
    }

    std::shared_ptr<KeyForm> form;
    std::shared_ptr<Target> target;
    std::shared_ptr<Window> window;
    std::shared_ptr<dv::HostingView> host;
    std::shared_ptr<TextField> field;
};

TEST_F(TextKeyTest, KeysEditTheFieldThatHasThem) {
    struct Case {
        const char* what;
        const char* field;
        std::vector<std::string> chords;
        std::string text;
        std::string focusedAfter;
        int commits; // the element's commit action, or the retained field's action
    };
    const std::string decomposedE = "e\xCC\x81";
    const Case cases[] = {
        {"letters, Shift for capitals", "name", {"shift+d", "e", "shift+s", "k"}, "DeSk", "name", 0},
        {"digits, signs and blanks", "note", {"1", "shift+1", "space", "minus"}, "1! -", "note", 0},
        {"Delete removes the last character", "name", {"a", "b", "delete"}, "a", "name", 0},
        {"Delete on an empty text changes nothing", "note", {"delete", "x"}, "x", "note", 0},
        {"Return runs the commit action and keeps the keys", "name", {"a", "return", "b"}, "ab", "name", 1},
        {"Return without a commit action does nothing", "note", {"a", "return", "b"}, "ab", "note", 0},
        {"Escape leaves the text", "name", {"a", "escape", "b"}, "ab", "name", 0},
        {"chords with Control or Command type nothing",
         "note",
         {"ctrl+a", "cmd+b", "ctrl+opt+c"},
         "",
         "note",
         0},
        {"arrows and function keys type nothing", "name", {"left", "f5", "a"}, "a", "name", 0},
        {"Command-A, then typing, replaces the text", "name", {"a", "b", "cmd+a", "c", "d"}, "cd", "name", 0},
        {"Command-A, then Delete, clears the text",
         "note",
         {"a", "b", "cmd+a", "delete", "x"},
         "x",
         "note",
         0},
        {"a key after Command-A drops the selection", "name", {"a", "cmd+a", "left", "b"}, "ab", "name", 0},
        {"a retained field takes the same keys", "field", {"shift+h", "i", "delete", "o"}, "Ho", "field", 0},
        {"a retained field's text is replaced after Command-A",
         "field",
         {"a", "cmd+a", "b"},
         "b",
         "field",
         0},
        {"Return ends a retained field's editing and sends its action",
         "field",
         {"o", "k", "return"},
         "ok",
         "",
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        form->name.set("");
        form->note.set("");
        form->commits = 0;
        target->actions = 0;
        field->setStringValue("");
        window->makeFirstResponder(nullptr);
        focus(c.field);
        press(c.chords);
        EXPECT_EQ(text(c.field), c.text);
        EXPECT_EQ(focused(), c.focusedAfter);
        EXPECT_EQ(std::string(c.field) == "field" ? target->actions : form->commits, c.commits);
    }

    // The whole-text selection belongs to its field: another field's keys append.
    form->name.set("");
    form->note.set("");
    focus("name");
    press({"a", "cmd+a"});
    focus("note");
    press({"b"});
    EXPECT_EQ(form->name.get(), "a");
    EXPECT_EQ(form->note.get(), "b");
    form->name.set("");

    // Text an input method commits lands in the field that has the keys, and Delete takes back a
    // whole character, an accent written after its letter with it.
    focus("note");
    form->note.set("");
    SimInput::shared().insertText("日" + decomposedE);
    press({});
    EXPECT_EQ(form->note.get(), "日" + decomposedE);
    press({"delete"});
    EXPECT_EQ(form->note.get(), "日");
    // With no field having the keys nothing is typed.
    window->makeFirstResponder(nullptr);
    press({"z"});
    SimInput::shared().insertText("q");
    press({});
    EXPECT_EQ(form->note.get(), "日");
    EXPECT_EQ(form->name.get(), "");
}

TEST_F(TextKeyTest, TabMovesTheKeysAlongTheWindowsKeyViewLoop) {
    focus("name");
    const std::vector<std::pair<std::string, std::string>> steps = {
        {"tab", "note"}, {"tab", "field"}, {"tab", "name"}, {"shift+tab", "field"}, {"shift+tab", "note"},
    };
    for (const auto& [chord, expected] : steps) {
        press({chord});
        EXPECT_EQ(focused(), expected) << chord;
    }
    // The retained field ended its editing by Tab.
    press({"tab", "tab"});
    EXPECT_EQ(field->lastTextMovement(), TextMovement::tab);
    // Typing after Tab goes to the field that took the keys.
    press({"shift+tab", "x"});
    EXPECT_EQ(focused(), "field");
    EXPECT_EQ(field->stringValue(), "x");
}

TEST_F(TextKeyTest, AFieldThatLeavesTheTreeTakesTheKeysWithIt) {
    focus("name");
    press({"a"});
    form->showName.set(false);
    host->rebuildIfNeeded();
    EXPECT_EQ(focused(), "");
    EXPECT_EQ(window->firstResponder(), window.get());
    form->showName.set(true);
    press({"b"});
    EXPECT_EQ(form->name.get(), "a");
    EXPECT_EQ(form->note.get(), "");
}

} // namespace
