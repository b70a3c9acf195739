#include "ProgramConsoleFixture.hpp"

#include "console/ActionCatalog.hpp"
#include "console/DesktopConsole.hpp"
#include "model/NotificationManager.hpp"
#include "platform/control/SimDesktop.hpp"
#include "platform/control/UISimulator.hpp"
#include "platform/ui/Application.hpp"
#include "platform/ui/PopUpButton.hpp"
#include "platform/ui/Slider.hpp"
#include "platform/ui/StatusItem.hpp"
#include "platform/ui/TextField.hpp"
#include "platform/ui/Window.hpp"
#include "platform/ui/declarative/HostingView.hpp"
#include "platform/ui/declarative/Representable.hpp"

#include <gtest/gtest.h>

namespace dv = platform::ui::declarative;
using namespace platform::ui;

namespace {

/// An editor made of declarative elements: a stepper, a text field, a picker, buttons (one
/// disabled) and a canvas that takes drags.
struct EditorView : dv::Component<EditorView> {
    dv::State<long> rows{this, 1};
    dv::State<std::string> name{this, "Grid"};
    dv::State<std::string> kind{this, "grid"};
    int commits = 0;
    int saves = 0;
    std::vector<std::string> drags;

    dv::Element body() override {
        return dv::VStack(
            dv::Alignment::leading, 8,
            {dv::Text("Rows: " + std::to_string(rows.get())),
             dv::Stepper("Rows", rows.binding(), 1, 3).id("inspector.rows"),
             dv::TextField("Name", name.binding(), [this] { ++commits; }).id("inspector.name"),
             dv::Picker("Kind", kind.binding(), {{"Grid", "grid"}, {"Rows", "rows"}}).id("inspector.kind"),
             dv::HStack(dv::Alignment::center, std::nullopt,
                        {dv::Button("Save Preset", [this] { ++saves; }),
                         dv::Button("Delete Preset", [] {}).disabled(true)}),
             dv::Rectangle()
                 .frame(200, 150)
                 .dragGesture(
                     0, [](const dv::DragValue&) {},
                     [this](const dv::DragValue& v) {
                         drags.push_back(std::to_string(int(v.startLocation.x)) + "," +
                                         std::to_string(int(v.startLocation.y)) + " -> " +
                                         std::to_string(int(v.location.x)) + "," +
                                         std::to_string(int(v.location.y)));
                     })
                 .id("canvas")});
    }
};

/// The target of the retained controls: counts the actions by selector.
struct Controls : Responder {
    std::vector<std::string> actions;
    Controls() {
        for (const char* selector : {"save:", "toggle:", "language:", "gaps:", "reset:"})
            registerAction(selector, [this, selector](Responder*) { actions.push_back(selector); });
    }
};

class UiCommandTest : public ProgramConsoleTest {
protected:
    void SetUp() override {
        ProgramConsoleTest::SetUp();
        platform::SimDesktop::shared().useLaptop();
        // The program's status item lives in a menu-bar window of its own.
        statusItem = StatusBar::system().statusItem(StatusItemLength::variable);

        snapshots = std::make_shared<Window>(Rect{100, 100, 900, 600}, StyleMask::titled);
        snapshots->title = "Tilmora Snapshots";

        editorRoot = std::make_shared<EditorView>();
        editor = std::make_shared<Window>(Rect{200, 150, 720, 560}, StyleMask::titled);
        editor->title = "Layout Editor";
        editor->setContentView(std::make_shared<dv::HostingView>(editorRoot, Rect{0, 0, 720, 560}));
        editor->makeKeyAndOrderFront();

        controls = std::make_shared<Controls>();
        prefs = std::make_shared<Window>(Rect{300, 200, 500, 400}, StyleMask::titled);
        prefs->title = "Preferences";
        prefs->setLevel(WindowLevel::floating);
        auto content = std::make_shared<View>(Rect{0, 0, 500, 400});
        auto group = std::make_shared<View>(Rect{0, 0, 500, 200});
        group->identifier = "prefs.group";
        group->addSubview(Button::checkbox("Show Snap Bar", controls, "toggle:"));
        auto gap = TextField::textFieldWithString("10");
        gap->identifier = "prefs.gap";
        group->addSubview(gap);
        content->addSubview(group);
        content->addSubview(TextField::labelWithString("Language:"));
        auto language = std::make_shared<PopUpButton>();
        language->identifier = "prefs.language";
        language->addItems({"English", "Deutsch"});
        language->setTarget(controls);
        language->action = "language:";
        content->addSubview(language);
        auto slider = Slider::make(10, 0, 20, controls, "gaps:");
        slider->identifier = "prefs.gapsUniform";
        content->addSubview(slider);
        auto reset = Button::withTitle("Reset", controls, "reset:");
        reset->isEnabled = false;
        content->addSubview(reset);
        auto hidden = std::make_shared<View>();
        hidden->addSubview(Button::withTitle("Secret", controls, "save:"));
        hidden->setHidden(true);
        content->addSubview(hidden);
        content->addSubview(Button::withTitle("Save", controls, "save:"));
        prefs->setContentView(content);
        prefs->orderFront();

        auto closed = std::make_shared<Window>(Rect{0, 0, 100, 100}, StyleMask::titled);
        closed->title = "Closed";
        closed->orderFront();
        closed->close();
        this->closed = closed;
    }

    std::shared_ptr<StatusItem> statusItem;
    std::shared_ptr<Window> snapshots, editor, prefs, closed;
    std::shared_ptr<EditorView> editorRoot;
    std::shared_ptr<Controls> controls;
};

TEST_F(UiCommandTest, WindowsListsTheProgramsOwnWindowsInCreationOrder) {
    const auto number = [](const std::shared_ptr<Window>& w) { return std::to_string(w->windowNumber()); };
    EXPECT_EQ(run("ui windows"),
              "window " + number(snapshots) +
                  " \"Tilmora Snapshots\" frame 100.0 100.0 900.0 628.0 level 0 hidden\n" + "window " +
                  number(editor) + " \"Layout Editor\" frame 200.0 150.0 720.0 588.0 level 0 visible\n" +
                  "window " + number(prefs) +
                  " \"Preferences\" frame 300.0 200.0 500.0 428.0 level 3 visible\n" + "window " +
                  number(closed) + " \"Closed\" frame 0.0 0.0 100.0 128.0 level 0 hidden\n");
    EXPECT_EQ(run("ui windows now"), "error: usage: ui windows");
}

TEST_F(UiCommandTest, ShowPrintsHostedElementsAndRetainedViewsWithIdsTextsAndValues) {
    // Frames in global points: the window's content starts at (200, 150).
    EXPECT_EQ(run("ui show \"Layout Editor\""),
              "text \"Rows: 1\" frame 200.0 561.0 52.0 16.0\n"
              "stepper id=inspector.rows \"Rows\" value=1 frame 200.0 531.0 79.0 22.0\n"
              "textField id=inspector.name \"Name\" value=\"Grid\" frame 200.0 501.0 720.0 22.0\n"
              "picker id=inspector.kind \"Kind\" value=\"Grid\" frame 200.0 471.0 157.0 22.0\n"
              "button \"Save Preset\" frame 200.0 441.0 94.0 22.0\n"
              "button \"Delete Preset\" disabled frame 302.0 441.0 104.0 22.0\n"
              "shape id=canvas frame 200.0 283.0 200.0 150.0\n");
    // The controls were never placed: each stands at the content's origin, (300, 200).
    EXPECT_EQ(run("ui show Preferences"), "view id=prefs.group frame 300.0 200.0 500.0 200.0\n"
                                          "  checkbox \"Show Snap Bar\" value=0 frame 300.0 200.0 119.0 22.0\n"
                                          "  textField id=prefs.gap value=\"10\" frame 300.0 200.0 96.0 22.0\n"
                                          "label \"Language:\" frame 300.0 200.0 73.0 16.0\n"
                                          "popUp id=prefs.language value=\"English\" frame 300.0 200.0 0.0 0.0\n"
                                          "slider id=prefs.gapsUniform value=10.0 frame 300.0 200.0 120.0 21.0\n"
                                          "button \"Reset\" disabled frame 300.0 200.0 61.0 22.0\n"
                                          "button \"Save\" frame 300.0 200.0 56.0 22.0\n");
    EXPECT_EQ(run("ui show \"Tilmora Snapshots\""), "");
    // A closed window the program keeps is read as the others are.
    EXPECT_EQ(run("ui show Closed"), "");
    EXPECT_EQ(run("ui show Gone"),
              "error: no program window \"Gone\" (windows: \"Tilmora Snapshots\", \"Layout Editor\", "
              "\"Preferences\", \"Closed\"; "
              "panels and editors: \"snap bar\", \"toast\", \"preset editor\", \"layout editor\")");
}

TEST_F(UiCommandTest, CommandsWorkHostedElementsAsAUserWould) {
    struct Case {
        const char* line;
        const char* output;
    };
    const Case cases[] = {
        {"ui step \"Layout Editor\" inspector.rows up", ""},
        {"ui step \"Layout Editor\" inspector.rows up", ""},
        {"ui step \"Layout Editor\" inspector.rows up", ""}, // at the upper bound: stays
        {"ui step \"Layout Editor\" inspector.rows down", ""},
        {"ui type \"Layout Editor\" inspector.name \"Two rows\"", ""},
        {"ui pick \"Layout Editor\" inspector.kind Rows", ""},
        {"ui click \"Layout Editor\" \"Save Preset\"", ""},
        {"ui drag \"Layout Editor\" canvas 40 40 to 200 150", ""},
        {"ui click \"Layout Editor\" \"Delete Preset\"",
         "error: \"Delete Preset\" in \"Layout Editor\" is disabled"},
        {"ui click \"Layout Editor\" \"Rows: 2\"",
         "error: \"Rows: 2\" in \"Layout Editor\" cannot be clicked"},
        {"ui click \"Layout Editor\" Nothing", "error: no element \"Nothing\" in \"Layout Editor\""},
        {"ui pick \"Layout Editor\" inspector.kind Columns",
         "error: \"inspector.kind\" in \"Layout Editor\" has no item \"Columns\""},
        {"ui type \"Layout Editor\" inspector.rows 3",
         "error: \"inspector.rows\" in \"Layout Editor\" is not a text field"},
        {"ui step \"Layout Editor\" inspector.name up",
         "error: \"inspector.name\" in \"Layout Editor\" is not a stepper"},
        {"ui step \"Layout Editor\" inspector.rows sideways", "error: usage: ui step"},
        {"ui drag \"Layout Editor\" inspector.name 0 0 to 5 5",
         "error: \"inspector.name\" in \"Layout Editor\" cannot be dragged"},
        {"ui drag \"Layout Editor\" canvas 0 0 5 5", "error: usage: ui drag"},
        {"ui slide \"Layout Editor\" inspector.rows 3",
         "error: \"inspector.rows\" in \"Layout Editor\" is not a slider"},
        {"ui click Editor Save", "error: no program window \"Editor\""},
    };
    for (const auto& c : cases) {
        const std::string text = run(c.line);
        EXPECT_EQ(text.substr(0, std::string(c.output).size()), c.output) << c.line;
        if (!*c.output) {
            EXPECT_EQ(text, "") << c.line;
        }
    }
    EXPECT_EQ(editorRoot->rows.get(), 2);
    EXPECT_EQ(editorRoot->name.get(), "Two rows");
    EXPECT_EQ(editorRoot->commits, 1) << "typing ends with Return";
    EXPECT_EQ(editorRoot->kind.get(), "rows");
    EXPECT_EQ(editorRoot->saves, 1);
    EXPECT_EQ(editorRoot->drags, std::vector<std::string>{"40,40 -> 200,150"});
    EXPECT_EQ(run("ui show \"Layout Editor\"").substr(0, 15), "text \"Rows: 2\" ");
}

TEST_F(UiCommandTest, CommandsWorkRetainedControls) {
    // The action the controls received, "" for none.
    const std::vector<LineCase> cases = {
        {"ui click Preferences \"Show Snap Bar\"", "", "toggle:"},
        {"ui click Preferences Save", "", "save:"},
        {"ui pick Preferences prefs.language Deutsch", "", "language:"},
        {"ui slide Preferences prefs.gapsUniform 3 7.5", "", "gaps:"},
        {"ui type Preferences prefs.gap 12", "", ""},
        {"ui click Preferences Reset", "error: \"Reset\" in \"Preferences\" is disabled", ""},
        {"ui click Preferences Secret",
         "error: no element \"Secret\" in \"Preferences\" (ids: prefs.group, prefs.gap, prefs.language, "
         "prefs.gapsUniform)",
         ""},
        {"ui click Preferences prefs.group", "error: \"prefs.group\" in \"Preferences\" cannot be clicked",
         ""},
        {"ui click Preferences prefs.gap", "", ""}, // the field takes the keys typed next
        {"ui pick Preferences prefs.language Français",
         "error: \"prefs.language\" in \"Preferences\" has no item \"Français\" (items: \"English\", "
         "\"Deutsch\")",
         ""},
        {"ui pick Preferences prefs.gap 3", "error: \"prefs.gap\" in \"Preferences\" is not a picker", ""},
        {"ui type Preferences \"Language:\" x", "error: no element \"Language:\" in \"Preferences\"", ""},
        {"ui step Preferences prefs.gapsUniform up",
         "error: \"prefs.gapsUniform\" in \"Preferences\" is not a stepper", ""},
        {"ui slide Preferences prefs.gapsUniform", "error: usage: ui slide \"<window>\" \"<id>\" V1", ""},
        {"ui slide Preferences prefs.gapsUniform wide", "error: not a number: wide", ""},
    };
    expectLines(cases, controls->actions);
    EXPECT_EQ(run("ui show Preferences"), "view id=prefs.group frame 300.0 200.0 500.0 200.0\n"
                                          "  checkbox \"Show Snap Bar\" value=1 frame 300.0 200.0 119.0 22.0\n"
                                          "  textField id=prefs.gap value=\"12\" frame 300.0 200.0 96.0 22.0\n"
                                          "label \"Language:\" frame 300.0 200.0 73.0 16.0\n"
                                          "popUp id=prefs.language value=\"Deutsch\" frame 300.0 200.0 0.0 0.0\n"
                                          "slider id=prefs.gapsUniform value=7.5 frame 300.0 200.0 120.0 21.0\n"
                                          "button \"Reset\" disabled frame 300.0 200.0 61.0 22.0\n"
                                          "button \"Save\" frame 300.0 200.0 56.0 22.0\n");
}

TEST_F(UiCommandTest, WindowsGoByTitleOrNumberAndControlsByTooltip) {
    auto twin = std::make_shared<Window>(Rect{0, 0, 200, 100}, StyleMask::titled);
    twin->title = "Preferences";
    const std::string prefsNumber = "#" + std::to_string(prefs->windowNumber());
    const std::string twinNumber = "#" + std::to_string(twin->windowNumber());
    UISimulator::findButton(*prefs, "Save")->toolTip = "Store the settings";
    const std::string ambiguous = "error: \"Preferences\" names 2 program windows: " + prefsNumber +
                                  " (visible), " + twinNumber + " (hidden); name one by its number, as \"#N\"";
    const std::string byTooltip = "ui click \"" + prefsNumber + "\" \"Store the settings\"";
    const std::string inTwin = "ui click \"" + twinNumber + "\" Save";
    const std::vector<LineCase> cases = {
        {"ui show Preferences", ambiguous.c_str(), ""},
        {byTooltip.c_str(), "", "save:"},
        {inTwin.c_str(), "error: \"Preferences\" is hidden", ""},
        {"ui show \"\"",
         "error: no program window \"\": the untitled panels are named \"snap bar\" and \"toast\"", ""},
        {"ui show \"#0\"", "error: no program window #0", ""},
        {"ui show \"snap bar\"", "error: no program window \"snap bar\"", ""},
    };
    expectLines(cases, controls->actions);
    EXPECT_NE(run("ui show \"" + prefsNumber + "\"").find("button \"Save\" tooltip=\"Store the settings\" frame "),
              std::string::npos);
}

TEST_F(UiCommandTest, WindowsOutOfSightAreReadButNotWorked) {
    editor->orderOut();
    for (const char* line :
         {"ui click \"Layout Editor\" \"Save Preset\"", "ui type \"Layout Editor\" inspector.name X",
          "ui pick \"Layout Editor\" inspector.kind Rows", "ui step \"Layout Editor\" inspector.rows up",
          "ui drag \"Layout Editor\" canvas 40 40 to 200 150", "ui slide \"Layout Editor\" canvas 3",
          "ui scroll \"Layout Editor\" canvas 2", "ui scroll \"Layout Editor\" to canvas",
          "ui scroll \"Layout Editor\" canvas by 5"})
        EXPECT_EQ(run(line), "error: \"Layout Editor\" is hidden") << line;
    // Refused before its elements are looked for.
    EXPECT_EQ(run("ui click \"Tilmora Snapshots\" snapshot.save"), "error: \"Tilmora Snapshots\" is hidden");
    EXPECT_EQ(editorRoot->rows.get(), 1);
    EXPECT_EQ(editorRoot->name.get(), "Grid");
    EXPECT_EQ(editorRoot->saves, 0);
    EXPECT_TRUE(editorRoot->drags.empty());
    EXPECT_EQ(run("ui show \"Layout Editor\"").substr(0, 15), "text \"Rows: 1\" ");
    editor->orderFront();
    EXPECT_EQ(run("ui step \"Layout Editor\" inspector.rows up"), "");
    EXPECT_EQ(editorRoot->rows.get(), 2);
}

/// A slider wrapped for the declarative views, bound to a value.
struct GapSlider : dv::Representable<Slider> {
    dv::Binding<double> value;
    explicit GapSlider(dv::Binding<double> v)
        : value(std::move(v)) {}
    struct Coordinator : Responder {
        dv::Binding<double> value;
    };
    std::shared_ptr<Responder> makeCoordinator() override { return std::make_shared<Coordinator>(); }
    std::shared_ptr<Slider> makeNSView(dv::RepresentableContext& context) override {
        auto coordinator = std::static_pointer_cast<Coordinator>(context.coordinator);
        coordinator->registerAction("changed:", [c = coordinator.get()](Responder* sender) {
            c->value.set(static_cast<Slider*>(sender)->doubleValue());
        });
        return Slider::make(value.get(), 0, 20, coordinator, "changed:");
    }
    void updateNSView(Slider& slider, dv::RepresentableContext& context) override {
        slider.setDoubleValue(value.get());
        std::static_pointer_cast<Coordinator>(context.coordinator)->value = value;
    }
};

/// A form of wrapped controls: one slider that works, one in a disabled section.
struct SettingsView : dv::Component<SettingsView> {
    dv::State<double> gaps{this, 10};
    dv::State<double> edges{this, 4};
    dv::Element body() override {
        return dv::VStack(dv::Alignment::leading, 8,
                          {dv::Text(std::to_string(int(gaps.get() + 0.5)) + " px"),
                           dv::representable<GapSlider>(gaps.binding()).id("prefs.gapsUniform"),
                           dv::representable<GapSlider>(edges.binding()).id("prefs.edges").disabled(true)});
    }
};

TEST_F(UiCommandTest, WrappedControlsPrintAndWorkAsTheirNativeViews) {
    auto root = std::make_shared<SettingsView>();
    auto window = std::make_shared<Window>(Rect{0, 0, 400, 300}, StyleMask::titled);
    window->title = "Settings";
    window->setContentView(std::make_shared<dv::HostingView>(root, Rect{0, 0, 400, 300}));
    window->orderFront();

    EXPECT_EQ(run("ui show Settings"), "text \"10 px\" frame 140.0 171.0 37.0 16.0\n"
                                       "slider id=prefs.gapsUniform value=10.0 frame 140.0 142.0 120.0 21.0\n"
                                       "slider id=prefs.edges value=4.0 disabled frame 140.0 113.0 120.0 21.0\n");
    EXPECT_EQ(run("ui slide Settings prefs.gapsUniform 3 7.5"), "");
    EXPECT_EQ(root->gaps.get(), 7.5);
    EXPECT_EQ(run("ui show Settings").substr(0, 12), "text \"8 px\" ") << "the form follows the slider";
    EXPECT_EQ(run("ui slide Settings prefs.edges 9"), "error: \"prefs.edges\" in \"Settings\" is disabled");
    EXPECT_EQ(root->edges.get(), 4);
    EXPECT_EQ(run("ui click Settings prefs.gapsUniform"),
              "error: \"prefs.gapsUniform\" in \"Settings\" cannot be clicked");
}

/// The application delegate of a program whose shell is a responder.
struct Delegate : ApplicationDelegate, Responder {
    std::vector<std::string> received;
    Delegate() {
        registerAction("openLayoutEditor:", [this](Responder* sender) {
            received.push_back(sender ? "with a sender" : "openLayoutEditor:");
        });
    }
};

TEST_F(UiCommandTest, ActionGoesToTheApplicationDelegateWithoutASender) {
    EXPECT_EQ(run("ui action \"openLayoutEditor:\""), "error: the program has no application delegate");
    auto delegate = std::make_shared<Delegate>();
    Application::shared().setDelegate(delegate);
    // The key window answers the same action; the delegate still gets it.
    editor->registerAction("openLayoutEditor:",
                           [](Responder*) { FAIL() << "the key window took the action"; });
    EXPECT_EQ(run("ui action \"openLayoutEditor:\""), "");
    EXPECT_EQ(delegate->received, std::vector<std::string>{"openLayoutEditor:"});
    // A selector near one there is is suggested, with where they all are.
    EXPECT_EQ(run("ui action \"openLayoutEditr:\""),
              "error: the program answers no selector openLayoutEditr:; did "
              "you mean openLayoutEditor:? (`help actions` lists the " +
                  std::to_string(tilmora::ActionCatalog::selectors().size()) + " selectors)");
    // With none near, the selectors there are follow, one a line.
    EXPECT_TRUE(
        run("ui action \"frobnicate:\"").starts_with("error: the program answers no selector frobnicate:; "));
}

TEST_F(UiCommandTest, ExpectToastSeesToastsShownSinceTheConsoleStartedEvenAfterTheyFaded) {
    tilmora::NotificationManager::shared().show("Before", "the console", 1.0);
    sim().runFor(2);
    std::ostringstream transcript;
    tilmora::DesktopConsole console(transcript);
    tilmora::NotificationManager::shared().show("Layout Saved", "Desk is stored", 1.0);
    sim().runFor(5); // faded and ordered out since
    const int status = console.runString("expect toast \"Saved\"\nexpect toast \"is stored\"\n"
                                         "expect toast \"Before\"\nexpect toast\n");
    EXPECT_EQ(status, tilmora::DesktopConsole::exitError);
    const std::string text = transcript.str();
    EXPECT_EQ(text.find("line 1"), std::string::npos) << text;
    EXPECT_EQ(text.find("line 2"), std::string::npos) << text;
    EXPECT_NE(text.find("expect failed: line 3: toast\n  expected: \"Before\"\n  actual:   no such toast\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("error: line 4: usage: expect toast \"<text>\""), std::string::npos) << text;
}

} // namespace
