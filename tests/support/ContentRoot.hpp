#pragma once

#include "platform/ui/declarative/ViewBase.hpp"

#include <functional>
#include <utility>

namespace testsupport {

/// A root view whose body is whatever the test's content function builds.
class ContentRoot : public platform::ui::declarative::Component<ContentRoot> {
public:
    explicit ContentRoot(std::function<platform::ui::declarative::Element()> content)
        : content(std::move(content)) {}
    platform::ui::declarative::Element body() override { return content(); }

    std::function<platform::ui::declarative::Element()> content;
};

} // namespace testsupport
