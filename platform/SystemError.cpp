#include "platform/SystemError.h"

#include <string>

namespace korvala {

const std::error_category& platformCategory()
{
    class Category final : public std::error_category {
    public:
        const char* name() const noexcept override { return "korvala.platform"; }
        std::string message(int value) const override
        {
            switch (static_cast<PlatformErrc>(value)) {
            case PlatformErrc::notRegularFile: return "Not a regular file";
            }
            return "Unknown error " + std::to_string(value);
        }
        std::error_condition default_error_condition(int value) const noexcept override
        {
            if (static_cast<PlatformErrc>(value) == PlatformErrc::notRegularFile)
                return std::errc::invalid_argument;
            return {value, *this};
        }
    };
    static const Category category;
    return category;
}

}  // namespace korvala
