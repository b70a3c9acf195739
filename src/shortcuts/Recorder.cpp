#include "shortcuts/Recorder.hpp"

#include "model/LocalizationManager.hpp"
#include "platform/input/ProcessInfo.hpp"
#include "shortcuts/FormLabel.hpp"
#include "shortcuts/RecorderRepresentable.hpp"

namespace tilmora::GlobalShortcuts {

using namespace platform::ui::declarative;

Recorder::Recorder(Name name, OnChange onChange, bool hasLabel, LabelBuilder label)
    : name(std::move(name))
    , onChange(std::move(onChange))
    , hasLabel(hasLabel)
    , label(std::move(label)) {}

Element Recorder::make(const Name& name, OnChange onChange) {
    return view<Recorder>(name, std::move(onChange), false, [] { return EmptyView(); });
}

Element Recorder::titled(const std::string& titleKey, const Name& name, OnChange onChange) {
    return view<Recorder>(name, std::move(onChange), true, [titleKey] {
        return Text(LocalizationManager::shared().localizedString(titleKey));
    });
}

Element Recorder::titledVerbatim(const std::string& title, const Name& name, OnChange onChange) {
    return view<Recorder>(name, std::move(onChange), true, [title] { return Text(title); });
}

Element Recorder::labeled(const Name& name, OnChange onChange, LabelBuilder label) {
    return view<Recorder>(name, std::move(onChange), true, std::move(label));
}

Element Recorder::body() {
    Element field = representable<RecorderRepresentable>(name, onChange);
    if (!hasLabel) return field;
    Element shownLabel = label ? label() : EmptyView();
    if (platform::ProcessInfo::processInfo().isOperatingSystemAtLeast({13, 0, 0}))
        return LabeledContent(std::move(shownLabel), std::move(field));
    return formLabel(std::move(field), std::move(shownLabel));
}

} // namespace tilmora::GlobalShortcuts
