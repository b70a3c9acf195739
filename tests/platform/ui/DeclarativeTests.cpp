#include "UiTestFixture.hpp"

#include "platform/ui/Button.hpp"
#include "platform/ui/Window.hpp"
#include "platform/control/ViewDriver.hpp"
#include "platform/ui/declarative/Layout.hpp"

#include <functional>

namespace dv = platform::ui::declarative;
using namespace platform::ui;

namespace {

int makes = 0;
int updates = 0;

/// A check box wrapped for the declarative views, with a coordinator as its target.
struct CheckBox : dv::Representable<platform::ui::Button> {
    std::string title;
    dv::Binding<bool> isOn;
    CheckBox(std::string t, dv::Binding<bool> b)
        : title(std::move(t))
        , isOn(std::move(b)) {}
    struct Coordinator : Responder {
        dv::Binding<bool> isOn;
    };
    std::shared_ptr<Responder> makeCoordinator() override { return std::make_shared<Coordinator>(); }
    std::shared_ptr<platform::ui::Button> makeNSView(dv::RepresentableContext& ctx) override {
        ++makes;
        auto coordinator = std::static_pointer_cast<Coordinator>(ctx.coordinator);
        auto b = platform::ui::Button::checkbox(title, coordinator, "changed:");
        coordinator->registerAction("changed:", [c = coordinator.get()](Responder* sender) {
            c->isOn.set(static_cast<platform::ui::Button*>(sender)->state == ControlState::on);
        });
        return b;
    }
    void updateNSView(platform::ui::Button& b, dv::RepresentableContext& ctx) override {
        ++updates;
        b.title = title;
        b.state = isOn.get() ? ControlState::on : ControlState::off;
        std::static_pointer_cast<Coordinator>(ctx.coordinator)->isOn = isOn;
    }
};

struct ToggleView : dv::Component<ToggleView> {
    dv::State<bool> enabled{this, false};
    bool lockAll = false;
    int saves = 0;
    dv::Element body() override {
        return dv::VStack(
            dv::Alignment::leading, 8,
            {dv::representable<CheckBox>("Enable snapping", enabled.binding()),
             dv::Text(enabled.get() ? "on" : "off"),
             dv::HStack(dv::Alignment::center, std::nullopt, {dv::Button("Save", [this] { ++saves; })})
                 .disabled(lockAll || !enabled.get())});
    }
};

} // namespace

class DeclarativeTest : public UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        makes = updates = 0;
    }
};

TEST_F(DeclarativeTest, ToggleRebuildsKeepsItsControlAndADisabledParentDisablesTheButton) {
    auto root = std::make_shared<ToggleView>();
    dv::HostingView host(root, {0, 0, 400, 300});
    dv::ViewDriver driver(host);
    EXPECT_EQ(driver.texts(), (std::vector<std::string>{"Enable snapping", "off", "Save"}));
    EXPECT_FALSE(driver.isEnabled("Save"));
    EXPECT_FALSE(driver.click("Save"));
    auto* control = driver.nativeView("Enable snapping");
    ASSERT_NE(control, nullptr);

    EXPECT_TRUE(driver.click("Enable snapping"));
    EXPECT_EQ(driver.texts(), (std::vector<std::string>{"Enable snapping", "on", "Save"}));
    EXPECT_EQ(driver.nativeView("Enable snapping"), control);
    EXPECT_EQ(makes, 1);
    EXPECT_EQ(updates, 2);
    EXPECT_TRUE(driver.isEnabled("Save"));
    EXPECT_TRUE(driver.click("Save"));
    EXPECT_EQ(root->saves, 1);

    root->lockAll = true;
    root->invalidate();
    host.rebuildIfNeeded();
    EXPECT_FALSE(driver.isEnabled("Save"));
    EXPECT_TRUE(driver.isEnabled("Enable snapping"));
}

namespace {
struct Model : dv::ObservableObject {
    dv::Published<long> rows{this, 3};
    dv::Published<std::string> name{this, ""};
};

struct Child : dv::Component<Child> {
    std::string label;
    dv::State<int> taps{this, 0};
    std::vector<std::string>* events;
    Child(std::string l, std::vector<std::string>* e)
        : label(std::move(l))
        , events(e) {}
    dv::Element body() override {
        return dv::Text(label + " " + std::to_string(taps.get()))
            .onTap([this] { taps.set(taps.get() + 1); })
            .onAppear([this] { events->push_back("appear " + label); })
            .onDisappear([this] { events->push_back("disappear " + label); });
    }
};

struct Editor : dv::Component<Editor> {
    dv::ObservedObject<Model> model;
    dv::State<bool> showChild{this, true};
    dv::State<std::string> lastDrag{this, ""};
    std::vector<std::string> events;
    std::string committed;
    std::string picked = "a";
    explicit Editor(std::shared_ptr<Model> m)
        : model(this, std::move(m)) {}
    dv::Element body() override {
        std::vector<dv::Element> items = {
            dv::TextField("Name",
                          dv::Binding<std::string>([this] { return model->name.get(); },
                                                   [this](const std::string& s) { model->name.set(s); }),
                          [this] { committed = model->name.get(); })
                .id("name"),
            dv::Stepper("Rows " + std::to_string(model->rows.get()),
                        dv::Binding<long>([this] { return model->rows.get(); },
                                          [this](long v) { model->rows.set(v); }),
                        1, 12)
                .id("rows"),
            dv::Picker("Rule",
                       dv::Binding<std::string>([this] { return picked; },
                                                [this](const std::string& s) { picked = s; }),
                       {{"Centre", "a"}, {"Overlap", "b"}})
                .id("rule"),
            dv::Canvas([this](Size size) {
                return dv::Group(
                    {dv::Rectangle().placed({0, 0, size.width / 2, size.height}).onTap([this] {
                         events.push_back("left");
                     }),
                     dv::Rectangle().placed({size.width / 2, 0, size.width / 2, size.height}).onTap([this] {
                         events.push_back("right");
                     })});
            })
                .frame(200, 100)
                .dragGesture(
                    0,
                    [this](const dv::DragValue& v) {
                        lastDrag.set("changed " + std::to_string(int(v.location.x)));
                    },
                    [this](const dv::DragValue& v) {
                        events.push_back("ended " + std::to_string(int(v.location.x)));
                    })
                .id("canvas"),
            dv::Text("row").contextMenu({{"Delete", [this] { events.push_back("delete"); }}}),
        };
        if (showChild.get()) items.push_back(dv::view<Child>("child", &events));
        return dv::VStack(dv::Alignment::leading, 4, items);
    }
};
} // namespace

TEST_F(DeclarativeTest, DriverWorksFieldsSteppersPickersCanvasesAndMenus) {
    auto model = std::make_shared<Model>();
    auto editor = std::make_shared<Editor>(model);
    dv::HostingView host(editor, {0, 0, 600, 400});
    dv::ViewDriver d(host);
    EXPECT_EQ(editor->events, std::vector<std::string>{"appear child"});

    EXPECT_TRUE(d.type("name", "Desk"));
    EXPECT_EQ(editor->committed, "");
    EXPECT_TRUE(d.commit("name"));
    EXPECT_EQ(editor->committed, "Desk");

    struct StepCase {
        int direction;
        long expected;
        bool moved;
    };
    model->rows.set(11);
    host.rebuildIfNeeded();
    for (auto c : std::vector<StepCase>{{+1, 12, true}, {+1, 12, false}, {-1, 11, true}}) {
        EXPECT_EQ(d.step("rows", c.direction), c.moved);
        EXPECT_EQ(model->rows.get(), c.expected);
    }
    EXPECT_TRUE(d.hasText("Rows 11")); // the observed object rebuilt the view

    EXPECT_TRUE(d.pick("rule", "Overlap"));
    EXPECT_EQ(editor->picked, "b");
    EXPECT_FALSE(d.pick("rule", "Nothing"));

    auto* canvas = d.find("canvas");
    ASSERT_NE(canvas, nullptr);
    EXPECT_EQ(canvas->layoutFrame.size, (Size{200, 100}));
    EXPECT_TRUE(d.tap("canvas", {150, 50}));
    EXPECT_TRUE(d.tap("canvas", {20, 50}));
    EXPECT_TRUE(d.drag("canvas", {10, 10}, {90, 40}));
    EXPECT_TRUE(d.contextMenuItem("row", "Delete"));
    EXPECT_FALSE(d.contextMenuItem("row", "Rename"));

    EXPECT_TRUE(d.click("child 0"));
    EXPECT_TRUE(d.hasText("child 1")); // the child kept its state across rebuilds
    editor->showChild.set(false);
    host.rebuildIfNeeded();
    EXPECT_FALSE(d.hasText("child 1"));
    EXPECT_EQ(editor->events, (std::vector<std::string>{"appear child", "right", "left", "ended 90", "delete",
                                                        "disappear child"}));
    EXPECT_EQ(model->observerCount(), 1u);
}

TEST_F(DeclarativeTest, DeferredActionsOfAViewThatLeftTheTreeDoNotRun) {
    auto model = std::make_shared<Model>();
    std::vector<std::string> events;
    auto child = std::make_shared<Child>("c", &events);
    int ran = 0;
    {
        dv::HostingView host(child, {0, 0, 100, 100});
        host.rebuildIfNeeded();
        child->deferToMain([&] { ++ran; });
        advance(0);
        EXPECT_EQ(ran, 1);
        child->deferToMain([&] { ++ran; });
    }
    child.reset(); // the view is gone before the main queue runs
    advance(0);
    EXPECT_EQ(ran, 1);
}

TEST_F(DeclarativeTest, NotificationSubscriptionsLiveWithTheirElement) {
    struct Listener : dv::Component<Listener> {
        dv::State<int> heard{this, 0};
        dv::State<bool> listening{this, true};
        dv::Element body() override {
            auto text = dv::Text("heard " + std::to_string(heard.get()));
            if (listening.get())
                text.onReceive("AppLanguageDidChange", [this] { heard.set(heard.get() + 1); });
            return text;
        }
    };
    auto listener = std::make_shared<Listener>();
    dv::HostingView host(listener, {0, 0, 100, 100});
    dv::ViewDriver d(host);
    platform::NotificationCenter::defaultCenter().post("AppLanguageDidChange");
    platform::NotificationCenter::defaultCenter().post("AppLanguageDidChange");
    host.rebuildIfNeeded();
    EXPECT_TRUE(d.hasText("heard 2"));
    listener->listening.set(false);
    host.rebuildIfNeeded();
    platform::NotificationCenter::defaultCenter().post("AppLanguageDidChange");
    host.rebuildIfNeeded();
    EXPECT_TRUE(d.hasText("heard 2"));
}

namespace {

TEST(DeclarativeModifiers, EachModifierWrapsWhatCameBeforeIt) {
    // A colour taking the width it is offered, modified, laid out in a 400 x 300 area (centred in
    // it): where the outermost node, the colour and the first background lie (x, width; y down).
    const auto block = [] { return dv::ColorView(Color::blackColor()).id("block"); };
    const auto width = [](double points) {
        dv::FrameSpec spec;
        spec.width = points;
        return spec;
    };
    const dv::FrameSpec w100 = width(100), w230 = width(230), w380 = width(380);
    dv::FrameSpec wide;
    wide.maxWidth = dv::FrameSpec::infinity;
    struct Case {
        const char* chain;
        dv::Element element;
        double outerWidth, blockX, blockWidth, backgroundX, backgroundWidth;
    } cases[] = {
        {"padding 8, frame 230: the padding inside the frame", block().padding(8).frame(w230), 230, 93, 214, -1, -1},
        {"frame 230, padding 8: the padding around it", block().frame(w230).padding(8), 246, 85, 230, -1, -1},
        {"padding 20, frame 380, background: the background covers the frame",
         block().padding(20).frame(w380).background(dv::Rectangle()), 380, 30, 340, 10, 380},
        {"padding 8, background, padding 4: the background inside the outer padding",
         block().padding(8).background(dv::Rectangle()).padding(4), 400, 12, 376, 4, 392},
        {"padding 8, background, clip, frame 100",
         block().padding(8).background(dv::Rectangle()).clipRoundedRect(6).frame(w100), 100, 158, 84, 150, 100},
        {"frame 100, frame of any width: the second holds the first", block().frame(w100).frame(wide), 400, 150, 100,
         -1, -1},
    };
    for (auto& c : cases) {
        dv::Layout::run(*c.element.node(), {0, 0, 400, 300});
        const dv::Node* inner = nullptr;
        const dv::Node* background = nullptr;
        std::function<void(const dv::Node&)> find = [&](const dv::Node& n) {
            if (n.identity == "block") inner = &n;
            if (!background && !n.backgrounds.empty()) background = n.backgrounds.front().node().get();
            for (const auto& child : n.children)
                find(*child.node());
        };
        find(*c.element.node());
        ASSERT_TRUE(inner) << c.chain;
        const auto& outer = *c.element.node();
        EXPECT_DOUBLE_EQ(outer.layoutFrame.width() + outer.padding.left + outer.padding.right, c.outerWidth)
            << c.chain;
        EXPECT_DOUBLE_EQ(inner->layoutFrame.minX(), c.blockX) << c.chain;
        EXPECT_DOUBLE_EQ(inner->layoutFrame.width(), c.blockWidth) << c.chain;
        if (c.backgroundWidth < 0) continue;
        ASSERT_TRUE(background) << c.chain;
        EXPECT_DOUBLE_EQ(background->layoutFrame.minX(), c.backgroundX) << c.chain;
        EXPECT_DOUBLE_EQ(background->layoutFrame.width(), c.backgroundWidth) << c.chain;
    }
    // What the element is and does reaches it under the wrappers; a later background lies behind
    // an earlier one.
    auto e = dv::Text("t").padding(4).frame(w100).id("text").font("caption");
    e.background(dv::Rectangle().id("first")).background(dv::Rectangle().id("second"));
    EXPECT_EQ(e.node()->kind, dv::NodeKind::modified);
    EXPECT_EQ(e.content().identity, "text");
    EXPECT_EQ(e.content().style.fontRole, "caption");
    ASSERT_EQ(e.node()->backgrounds.size(), 2u);
    EXPECT_EQ(e.node()->backgrounds.front().node()->identity, "second");
}

} // namespace
