// The lock-screen port over the Windows Runtime.
#include "desktop/win32/win32_lock_screen.h"

#include <shlobj.h>
#include <wincodec.h>

#include <thread>

#include "base/win32/com_ptr.h"
#include "base/win32/deferred_import.h"
#include "base/win32/shell_folder.h"
#include "base/win32/system_error.h"
#include "base/win32/wide_text.h"
#include "desktop/win32/lock_screen_abi.h"
#include "render/dib_rows.h"

namespace {

using RoGetActivationFactoryFn = HRESULT WINAPI(HSTRING, REFIID, void**);
using WindowsCreateStringFn = HRESULT WINAPI(PCWSTR, UINT32, HSTRING*);
using WindowsDeleteStringFn = HRESULT WINAPI(HSTRING);

// The statics of a runtime class, or the failure.
template <typename Statics>
HRESULT GetStatics(const wchar_t* className, const GUID& iid, ComPtr<Statics>& statics) {
    auto* activate =
        DeferredImport<RoGetActivationFactoryFn>("combase.dll", "RoGetActivationFactory");
    auto* create = DeferredImport<WindowsCreateStringFn>("combase.dll", "WindowsCreateString");
    auto* destroy = DeferredImport<WindowsDeleteStringFn>("combase.dll", "WindowsDeleteString");
    if (activate == nullptr || create == nullptr || destroy == nullptr) {
        return REGDB_E_CLASSNOTREG;
    }
    HSTRING name = nullptr;
    HRESULT result = create(className, static_cast<UINT32>(wcslen(className)), &name);
    if (SUCCEEDED(result)) {
        result = activate(name, iid, reinterpret_cast<void**>(statics.Put()));
        destroy(name);
    }
    return result;
}

// Waits for an asynchronous operation to leave the Started state, polling its IAsyncInfo, at
// most until the deadline or until stopped: its error code (S_OK when it completed), a
// timeout, or cancelled.
HRESULT WaitFor(IInspectable* operation, std::chrono::steady_clock::time_point deadline,
                const std::function<bool()>& stopped) {
    ComPtr<IAsyncInfo> info;
    HRESULT result = operation->QueryInterface(lockscreen_abi::kAsyncInfoIid,
                                               reinterpret_cast<void**>(info.Put()));
    if (FAILED(result)) {
        return result;
    }
    AsyncStatus status = Started;
    while (SUCCEEDED(result = info.Get()->get_Status(&status)) && status == Started) {
        if (std::chrono::steady_clock::now() >= deadline || (stopped && stopped())) {
            info.Get()->Cancel();
            return std::chrono::steady_clock::now() >= deadline
                       ? HRESULT_FROM_WIN32(ERROR_TIMEOUT)
                       : HRESULT_FROM_WIN32(ERROR_CANCELLED);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (FAILED(result)) {
        return result;
    }
    if (status == Completed) {
        return S_OK;
    }
    HRESULT error = E_FAIL;
    info.Get()->get_ErrorCode(&error);
    return status == Canceled ? HRESULT_FROM_WIN32(ERROR_CANCELLED)
                              : (FAILED(error) ? error : E_FAIL);
}

// The file as a StorageFile, then set as the lock screen; the first failure.
HRESULT SetLockScreenImage(const std::string& path, std::chrono::milliseconds limit,
                           const std::function<bool()>& stopped) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    ComPtr<lockscreen_abi::IStorageFileStatics> files;
    ComPtr<lockscreen_abi::ILockScreenStatics> lockScreen;
    HRESULT result = GetStatics(lockscreen_abi::kStorageFileClass,
                                lockscreen_abi::kStorageFileStaticsIid, files);
    if (SUCCEEDED(result)) {
        result = GetStatics(lockscreen_abi::kLockScreenClass, lockscreen_abi::kLockScreenStaticsIid,
                            lockScreen);
    }
    auto* create = DeferredImport<WindowsCreateStringFn>("combase.dll", "WindowsCreateString");
    auto* destroy = DeferredImport<WindowsDeleteStringFn>("combase.dll", "WindowsDeleteString");
    if (FAILED(result) || create == nullptr || destroy == nullptr) {
        return FAILED(result) ? result : REGDB_E_CLASSNOTREG;
    }
    const std::wstring widePath = Widen(path);
    HSTRING pathString = nullptr;
    if (FAILED(result =
                   create(widePath.c_str(), static_cast<UINT32>(widePath.size()), &pathString))) {
        return result;
    }
    ComPtr<lockscreen_abi::IAsyncOperationStorageFile> opening;
    result = files.Get()->GetFileFromPathAsync(pathString, opening.Put());
    destroy(pathString);
    ComPtr<IInspectable> file;
    if (SUCCEEDED(result) && SUCCEEDED(result = WaitFor(opening.Get(), deadline, stopped))) {
        result = opening.Get()->GetResults(file.Put());
    }
    ComPtr<lockscreen_abi::IAsyncAction> setting;
    if (SUCCEEDED(result) &&
        SUCCEEDED(result = lockScreen.Get()->SetImageFileAsync(file.Get(), setting.Put())) &&
        SUCCEEDED(result = WaitFor(setting.Get(), deadline, stopped))) {
        result = setting.Get()->GetResults();
    }
    return result;
}

}  // namespace

bool Win32LockScreen::Available() {
    if (available.load() == 0) {
        const ScopedComInit com;
        ComPtr<lockscreen_abi::ILockScreenStatics> statics;
        const bool found =
            com.Usable() && SUCCEEDED(GetStatics(lockscreen_abi::kLockScreenClass,
                                                 lockscreen_abi::kLockScreenStaticsIid, statics));
        available = found ? 1 : 2;
    }
    return available.load() == 1;
}

std::vector<std::string> Win32LockScreen::FileNames() {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(Widen(folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
            names.push_back(Narrow(found.cFileName));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool Win32LockScreen::WriteJpeg(const ByteArray& dib, const std::string& path, int quality) {
    const std::optional<DibRows> rows = ReadDibRows(dib);
    if (!rows || rows->bitsPerPixel != 24) {
        return false;
    }
    MakeFolders(folder);
    const ScopedComInit com;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICStream> stream;
    ComPtr<IWICBitmapEncoder> encoder;
    ComPtr<IWICBitmapFrameEncode> frame;
    ComPtr<IPropertyBag2> options;
    if (!com.Usable() ||
        FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Put()))) ||
        FAILED(factory.Get()->CreateStream(stream.Put())) ||
        FAILED(stream.Get()->InitializeFromFilename(Widen(path).c_str(), GENERIC_WRITE)) ||
        FAILED(factory.Get()->CreateEncoder(GUID_ContainerFormatJpeg, nullptr, encoder.Put())) ||
        FAILED(encoder.Get()->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder.Get()->CreateNewFrame(frame.Put(), options.Put()))) {
        return false;
    }
    PROPBAG2 option = {};
    option.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_R4;
    value.fltVal = static_cast<float>(quality) / 100.0f;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(options.Get()->Write(1, &option, &value)) ||
        FAILED(frame.Get()->Initialize(options.Get())) ||
        FAILED(frame.Get()->SetSize(static_cast<UINT>(rows->width),
                                    static_cast<UINT>(rows->height))) ||
        FAILED(frame.Get()->SetPixelFormat(&format)) || format != GUID_WICPixelFormat24bppBGR) {
        return false;
    }
    const UINT rowBytes = static_cast<UINT>(rows->width) * 3;
    for (int r = 0; r < rows->height; ++r) {
        if (FAILED(frame.Get()->WritePixels(1, rowBytes, rowBytes,
                                            const_cast<BYTE*>(rows->TopDownRow(r))))) {
            return false;
        }
    }
    return SUCCEEDED(frame.Get()->Commit()) && SUCCEEDED(encoder.Get()->Commit());
}

std::optional<std::string> Win32LockScreen::SetImage(const std::string& path,
                                                     std::chrono::milliseconds limit,
                                                     const std::function<bool()>& stopped) {
    const ScopedComInit com;
    const HRESULT result =
        com.Usable() ? SetLockScreenImage(path, limit, stopped) : CO_E_NOTINITIALIZED;
    if (SUCCEEDED(result)) {
        return std::nullopt;
    }
    if (result == HRESULT_FROM_WIN32(ERROR_TIMEOUT)) {
        return "Windows did not answer within " + std::to_string(limit.count() / 1000) +
               " seconds.";
    }
    return SystemErrorText(static_cast<DWORD>(result));
}

void Win32LockScreen::RemoveFile(const std::string& path) {
    DeleteFileW(Widen(path).c_str());
}
