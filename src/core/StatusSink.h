#pragma once

#include <cstdio>
#include <string>
#include <type_traits>
#include <vector>

namespace vn {

namespace detail {

inline const char* PrintfArgument(const std::string& text) { return text.c_str(); }
template <typename T>
requires std::is_arithmetic_v<T> || std::is_pointer_v<T> T PrintfArgument(T value) { return value; }

}  // namespace detail

// printf-style formatting in which std::string arguments stand for "%s".
template <typename... Args>
std::string FormatText(const char* format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return format;
    } else {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
        const int length = std::snprintf(nullptr, 0, format, detail::PrintfArgument(args)...);
        if (length <= 0)
            return {};
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::snprintf(buffer.data(), buffer.size(), format, detail::PrintfArgument(args)...);
#pragma GCC diagnostic pop
        return std::string(buffer.data(), static_cast<std::size_t>(length));
    }
}

// Where a scan reports its progress: a status line and a progress bar.
// Workers on several threads may report at once; each implementation keeps
// its calls one at a time.
class StatusSink {
public:
    virtual ~StatusSink() = default;

    // Empties the status text and sets the progress position to 0.
    virtual void Reset() = 0;
    // Enables and shows (true) or disables and hides (false) the status panel.
    virtual void Show(bool show) = 0;
    virtual bool IsShown() = 0;
    // Ends a run whose last text must stay readable (a failure): the panel
    // stays in sight with that text but disabled, as nothing is left to
    // cancel, until the next Show.
    virtual void ShowIdle() { Show(false); }
    // The status line, already formatted.
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void SetRange(int upper) = 0;
    virtual void Step() = 0;
    virtual void SetPos(int position) = 0;

    // A printf-style status line.
    template <typename... Args>
    void SetText(const char* format, const Args&... args) {
        SetStatusText(FormatText(format, args...));
    }
};

}  // namespace vn
