// defaults write KEY bool|int|double|string VALUE | delete KEY | read KEY

#include "console/CommandArgs.hpp"
#include "console/CommandError.hpp"
#include "console/CommandRegistration.hpp"
#include "console/ConsoleSession.hpp"
#include "console/ConsoleText.hpp"
#include "platform/foundation/Text.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace tilmora {

namespace {

constexpr const char* usage =
    "usage: defaults write KEY bool|int|double|string VALUE | defaults delete KEY | defaults read KEY";

platform::PropertyValue parseValue(const std::string& kind, const std::string& text) {
    if (kind == "bool") {
        if (text == "true" || text == "yes" || text == "1") return true;
        if (text == "false" || text == "no" || text == "0") return false;
        throw CommandError("not a bool: " + text + " (true or false)");
    }
    if (kind == "int") {
        std::size_t used = 0;
        long long value = 0;
        try {
            value = std::stoll(text, &used);
        } catch (const std::logic_error&) {
            used = 0;
        }
        if (used == 0 || used != text.size()) throw CommandError("not an int: " + text);
        return static_cast<std::int64_t>(value);
    }
    if (kind == "double") {
        auto value = platform::Text::parseDouble(text);
        if (!value) throw CommandError("not a double: " + text);
        return *value;
    }
    if (kind == "string") return text;
    throw CommandError("unknown kind: " + kind + " (bool, int, double or string)");
}

std::string describe(const platform::PropertyValue& value) {
    using Kind = platform::PropertyValue::Kind;
    switch (value.kind()) {
    case Kind::boolean: return std::string("bool ") + (*value.asBool() ? "true" : "false");
    case Kind::integer: return "int " + std::to_string(*value.asInteger());
    case Kind::real: return "double " + ConsoleText::number(*value.asDouble());
    case Kind::string: return "string " + ConsoleText::quote(*value.asString());
    case Kind::data: return "data";
    case Kind::date: return "date";
    case Kind::array: return "array";
    case Kind::dictionary: return "dictionary";
    }
    return "value";
}

void defaultsCommand(ConsoleSession& session, const CommandArgs& args) {
    const std::string& what = args.text(1);
    auto& defaults = platform::UserDefaults::standard();
    if (what == "write" && args.argumentCount() == 4) {
        defaults.set(parseValue(args.text(3), args.text(4)), args.text(2));
    } else if (what == "delete" && args.argumentCount() == 2) {
        defaults.removeObjectForKey(args.text(2));
    } else if (what == "read" && args.argumentCount() == 2) {
        const std::string& key = args.text(2);
        const auto value = defaults.objectForKey(key);
        if (value) {
            session.out() << key << " = " << describe(*value) << "\n";
        } else {
            session.out() << key << " is not set\n";
        }
    } else {
        throw CommandError(usage);
    }
}

const CommandRegistration registration({
    {.name = "defaults",
     .arguments = ArgumentCheck::between(2, 4, usage),
     .handler = defaultsCommand,
     .help = {"defaults write KEY bool|int|double|string VALUE", "defaults delete KEY", "defaults read KEY"},
     .words = {"write", "delete", "read"},
     .helpOrder = 60},
});

} // namespace

} // namespace tilmora
