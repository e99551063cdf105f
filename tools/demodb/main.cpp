// rmstockhand-demo-db: writes a demo shop database for trying the program without a real shop.

#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>

#include "demoshop.h"

namespace {

constexpr long kDefaultItems = 200;

struct Arguments {
    std::string path;
    long items = kDefaultItems;
};

std::optional<long> itemCount(const char* text) {
    long value = 0;
    const char* end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, value);
    if (error != std::errc() || rest != end || value < 0 || value > demoshop::kMaxItems) {
        return std::nullopt;
    }
    return value;
}

std::optional<Arguments> parse(int argc, char** argv) {
    Arguments arguments;
    bool havePath = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--items" && i + 1 < argc) {
            const std::optional<long> items = itemCount(argv[++i]);
            if (!items) {
                return std::nullopt;
            }
            arguments.items = *items;
        } else if (!argument.empty() && argument[0] != '-' && !havePath) {
            arguments.path = argument;
            havePath = true;
        } else {
            return std::nullopt;
        }
    }
    return havePath ? std::optional(arguments) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<Arguments> arguments = parse(argc, argv);
    if (!arguments) {
        std::fprintf(stderr,
                     "usage: rmstockhand-demo-db PATH [--items N]\n"
                     "Writes a demo shop database with N items (default %ld, at most %ld) at PATH,\n"
                     "replacing any file there.\n",
                     kDefaultItems, demoshop::kMaxItems);
        return 2;
    }
    try {
        demoshop::writeDemoShop(arguments->path, arguments->items);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "rmstockhand-demo-db: %s\n", error.what());
        return 1;
    }
    return 0;
}
