#include "file_failure.h"

#include "text/ansi_literals.h"

namespace orvane {

std::string FileFailureText(FileFailure failure, std::uint64_t detail) {
    switch (failure) {
    case FileFailure::ReadDenied:
        return "没有读取该文件的权限";
    case FileFailure::WriteDenied:
        return "没有写入该文件夹的权限";
    case FileFailure::DiskFull:
        return "磁盘空间不足";
    case FileFailure::ReadOnlyDisk:
        return "磁盘是只读的";
    case FileFailure::NoFolder:
        return "文件夹不存在";
    case FileFailure::FolderInTheWay:
        return "同名的文件夹已存在";
    case FileFailure::ReadOnlyFile:
        return "文件是只读的";
    case FileFailure::NotRegular:
        return "不是普通文件";
    case FileFailure::TooLarge:
        return "文件太大（超过 " + std::to_string(detail / 1024) + " KB）";
    case FileFailure::InUse:
        return "文件正被其他程序使用";
    case FileFailure::Other:
        break;
    }
    return "系统错误 " + std::to_string(detail);
}

} // namespace orvane
