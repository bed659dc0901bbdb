#include "core/base/system_fault.h"

namespace tf {
namespace detail {

thread_local SystemFault lastFault = SystemFault::None;

}  // namespace detail

void noteSystemFault(SystemFault fault) {
    detail::lastFault = fault;
}

SystemFault lastSystemFault() {
    return detail::lastFault;
}

void clearSystemFault() {
    detail::lastFault = SystemFault::None;
}

std::string_view systemFaultText(SystemFault fault) {
    switch (fault) {
        case SystemFault::DiskFull:
            return "磁盘空间不足。";
        case SystemFault::TooLarge:
            return "文件超过系统允许的大小。";
        case SystemFault::ReadOnly:
            return "文件或所在磁盘只读，没有写入权限。";
        case SystemFault::NameTooLong:
            return "文件名过长。";
        case SystemFault::FolderMissing:
            return "文件夹不存在。";
        case SystemFault::Held:
            return "文件正被其他程序使用。";
        case SystemFault::None:
        case SystemFault::Other:
            break;
    }
    return {};
}

std::string withSystemFault(std::string_view message) {
    const std::string_view reason = systemFaultText(lastSystemFault());
    return std::string(message) + (reason.empty() ? "" : "\r\n" + std::string(reason));
}

}  // namespace tf
