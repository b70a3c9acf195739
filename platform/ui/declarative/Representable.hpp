#pragma once

#include "platform/ui/Responder.hpp"
#include "platform/ui/View.hpp"
#include "platform/ui/declarative/ViewBase.hpp"

namespace platform::ui::declarative {

/// What make and update receive: the coordinator the host keeps with the control, and whether the
/// control is enabled in its place of the tree.
struct RepresentableContext {
    std::shared_ptr<Responder> coordinator;
    bool isEnabled = true;
};

/// A declarative wrapper of one AppKit-like control. The host makes the coordinator and the
/// control once per place in the tree, then calls `updateView` after every rebuild (and once
/// right after making it); it drops both when the place leaves the tree. Main thread only.
class RepresentableBase {
public:
    virtual ~RepresentableBase() = default;
    virtual std::shared_ptr<Responder> makeCoordinator() { return nullptr; }
    virtual std::shared_ptr<View> makeView(RepresentableContext& context) = 0;
    virtual void updateView(View& view, RepresentableContext& context) = 0;
    virtual const std::type_info& representableType() const { return typeid(*this); }
};

/// Typed helper: derive and implement `makeNSView` and `updateNSView` for the control type.
template <class NativeView>
class Representable : public RepresentableBase {
public:
    virtual std::shared_ptr<NativeView> makeNSView(RepresentableContext& context) = 0;
    virtual void updateNSView(NativeView& view, RepresentableContext& context) = 0;

private:
    std::shared_ptr<View> makeView(RepresentableContext& context) override { return makeNSView(context); }
    void updateView(View& view, RepresentableContext& context) override {
        updateNSView(static_cast<NativeView&>(view), context);
    }
};

} // namespace platform::ui::declarative
