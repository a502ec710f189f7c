#include "designer/PageDialogs.h"

#include "platform/OsApi.h"

namespace plotara {

namespace {
constexpr Long returnOnlyFileSystemFolders = 1;
constexpr Long browserInitialised = 1;
constexpr Long setSelectionAnsi = 0x466;
constexpr Long fileMustExist = 0x1000;
} // namespace

String BrowseForFolderPath(Long owner, const String& prompt, const String& initialFolder) {
    // The browser's callback reads the initial folder through its address, so the text stays
    // alive here until the browser has returned.
    const String folder = initialFolder;
    BROWSEINFO info;
    info.hwndOwner = owner;
    info.pidlRoot = 0;
    info.pszDisplayName = nullptr;
    info.lpszTitle = prompt;
    info.ulFlags = returnOnlyFileSystemFolders;
    info.lpfn = &BrowseCallback;
    info.lParam = reinterpret_cast<std::intptr_t>(&folder);
    info.iImage = 0;
    OsApi& api = osApi();
    const Long itemList = api.SHBrowseForFolder(info);
    if (itemList == 0) return String();
    String buffer(1024, L'\0');
    api.SHGetPathFromIDList(itemList, buffer);
    api.CoTaskMemFree(itemList);
    return buffer.substr(0, buffer.find(L'\0'));
}

Long BrowseCallback(Long hwnd, Long uMsg, std::intptr_t, std::intptr_t lpData) {
    if (uMsg == browserInitialised) osApi().SendMessageA(hwnd, setSelectionAnsi, 1, lpData);
    return 0;
}

String ShowOpenXMLDialog(const String& initialFolder, const String& title, Long owner) {
    OPENFILENAME record;
    record.lStructSize = 76;
    record.hwndOwner = owner;
    record.lpstrFilter = String(L"XML Files (*.xml)") + L'\0' + L"*.xml" + L'\0' +
                         L"All Files (*.*)" + L'\0' + L"*.*" + L'\0' + L'\0';
    record.nFilterIndex = 1;
    record.lpstrFile = String(256, L'\0');
    record.nMaxFile = 256;
    record.nMaxFileTitle = 0;
    record.lpstrInitialDir = initialFolder;
    record.lpstrTitle = title;
    record.Flags = fileMustExist;
    record.lpstrDefExt = L"xml";
    if (osApi().GetOpenFileNameA(record) == 0) return String();
    return record.lpstrFile.substr(0, record.lpstrFile.find(L'\0'));
}

} // namespace plotara
