#pragma once

#include "platform/ui/declarative/Elements.hpp"
#include "shortcuts/RecorderField.hpp"

#include <functional>

namespace tilmora::GlobalShortcuts {

/// The declarative recorder: the recorder field of a name, alone or with a label. With a label it
/// is a labelled-content row from OS 13 on, a form-label row (`formLabel`) before. The field is
/// made once per place; a rebuild with another name shows that name's chord in the same field.
/// Main thread only.
class Recorder : public platform::ui::declarative::Component<Recorder> {
public:
    using OnChange = RecorderField::OnChange;
    using LabelBuilder = std::function<platform::ui::declarative::Element()>;

    /// The designated form: `label` is shown when `hasLabel` is true.
    Recorder(Name name, OnChange onChange, bool hasLabel, LabelBuilder label);

    /// The field alone.
    static platform::ui::declarative::Element make(const Name& name, OnChange onChange = nullptr);
    /// With a text label: the main bundle's text of the key `titleKey`.
    static platform::ui::declarative::Element titled(const std::string& titleKey, const Name& name,
                                                     OnChange onChange = nullptr);
    /// With a text label shown as it is.
    static platform::ui::declarative::Element titledVerbatim(const std::string& title, const Name& name,
                                                             OnChange onChange = nullptr);
    /// With any label.
    static platform::ui::declarative::Element labeled(const Name& name, OnChange onChange,
                                                      LabelBuilder label);

    platform::ui::declarative::Element body() override;

    Name name;
    OnChange onChange;
    bool hasLabel = false;
    LabelBuilder label;
};

} // namespace tilmora::GlobalShortcuts
