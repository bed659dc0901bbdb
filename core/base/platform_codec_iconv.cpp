#include "core/base/platform_codec.h"

#include <iconv.h>

#include <cstring>
#include <vector>

namespace tf::detail {
namespace {

class Converter {
  public:
    Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(handle_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    // Whole input converted, or nothing.
    std::optional<std::string> run(std::string_view input) {
        if (!valid()) {
            return std::nullopt;
        }
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        std::vector<char> in(input.begin(), input.end());
        std::string out(input.size() * 4 + 16, '\0');
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        if (iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
            inLeft != 0) {
            return std::nullopt;
        }
        if (iconv(handle_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
            return std::nullopt;
        }
        out.resize(out.size() - outLeft);
        return out;
    }

  private:
    iconv_t handle_;
};

}  // namespace

std::optional<std::u32string> platformGb18030ToUtf32(std::string_view gb18030) {
    thread_local Converter converter("UTF-32LE", "GB18030");
    auto bytes = converter.run(gb18030);
    if (!bytes || bytes->size() % 4 != 0) {
        return std::nullopt;
    }
    std::u32string result(bytes->size() / 4, U'\0');
    for (std::size_t i = 0; i < result.size(); ++i) {
        const auto* p = reinterpret_cast<const unsigned char*>(bytes->data() + i * 4);
        result[i] = static_cast<char32_t>(p[0] | (p[1] << 8) | (p[2] << 16) |
                                          (static_cast<std::uint32_t>(p[3]) << 24));
    }
    return result;
}

}  // namespace tf::detail
