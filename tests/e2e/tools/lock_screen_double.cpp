// A stand-in for the Windows Runtime classes Windows.Storage.StorageFile and
// Windows.System.UserProfile.LockScreen, which the end-to-end tests register for Wine's combase.
// StorageFile.GetFileFromPathAsync gives a file that remembers its path; LockScreen's
// SetImageFileAsync copies that file into the record folder as <k>.jpg and writes its path as
// line k of calls.txt there, or, when told to fail, writes "refused <path>" and fails with
// E_ACCESSDENIED. The folder and the mode are read from HKCU\Software\Velumar tests\Lock screen
// double ("RecordFolder", "Fail") at each call. Every operation is finished when it is returned.
#include "desktop/win32/lock_screen_abi.h"

#include <activation.h>
#include <winstring.h>

#include <atomic>
#include <string>

#include "base/win32/com_ptr.h"
#include "base/win32/unique_handle.h"
#include "base/win32/wide_text.h"

namespace {

using namespace lockscreen_abi;

constexpr wchar_t kSettingsKey[] = L"Software\\Velumar tests\\Lock screen double";
// Asked for on a file handed to SetImageFileAsync to reach the double's own object.
constexpr GUID kDoubleFileIid = {
    0x8d1c2a77, 0x51e4, 0x4f0b, {0x9a, 0x3e, 0x2c, 0x6b, 0x70, 0x15, 0xd4, 0x91}};

std::atomic<long> liveObjects{0};

// The barrier at every method that allocates: no exception unwinds into the caller.
template <typename Body>
HRESULT Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return E_OUTOFMEMORY;
    }
}

// Reference counting, IInspectable and QueryInterface for an object implementing First and
// Rest; First also stands for IUnknown and IInspectable.
template <typename First, typename... Rest>
class Object : public First, public Rest... {
public:
    Object() { ++liveObjects; }
    virtual ~Object() { --liveObjects; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) {
            return E_POINTER;
        }
        *out = iid == IID_IUnknown || iid == __uuidof(IInspectable) ? static_cast<First*>(this)
                                                                    : Find(iid);
        if (!*out) {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references;
        if (left == 0) {
            delete this;
        }
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetIids(ULONG* count, IID** iids) override {
        *count = 0;
        *iids = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* name) override {
        *name = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* level) override {
        *level = BaseTrust;
        return S_OK;
    }

protected:
    // The interface asked for beyond IUnknown and IInspectable, or null.
    virtual void* Find(REFIID iid) = 0;

private:
    std::atomic<ULONG> references{1};
};

// A completion handler's Invoke, the same for every kind of asynchronous operation.
struct ICompletedHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(IInspectable* async, AsyncStatus status) = 0;
};

// An asynchronous operation that has already finished, successfully or with an error.
template <typename Async>
class Finished : public Object<Async, IAsyncInfo> {
public:
    explicit Finished(HRESULT error) : error(error) {}

    HRESULT STDMETHODCALLTYPE put_Completed(IUnknown* handler) override {
        return handler ? static_cast<ICompletedHandler*>(handler)->Invoke(static_cast<Async*>(this),
                                                                          Status())
                       : S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Completed(IUnknown** handler) override {
        *handler = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) override {
        *id = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) override {
        *status = Status();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* code) override {
        *code = error;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Cancel() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close() override { return S_OK; }

protected:
    void* Find(REFIID iid) override {
        return iid == __uuidof(IAsyncInfo) ? static_cast<IAsyncInfo*>(this) : nullptr;
    }
    AsyncStatus Status() const { return SUCCEEDED(error) ? Completed : Error; }

    const HRESULT error;
};

class StorageFile : public Object<IInspectable> {
public:
    explicit StorageFile(std::wstring path) : path(std::move(path)) {}
    const std::wstring path;

protected:
    void* Find(REFIID iid) override {
        return iid == kStorageFileIid || iid == kDoubleFileIid ? static_cast<IInspectable*>(this)
                                                               : nullptr;
    }
};

class FileOperation : public Finished<IAsyncOperationStorageFile> {
public:
    FileOperation(HRESULT error, StorageFile* file) : Finished(error), file(file) {}

    HRESULT STDMETHODCALLTYPE GetResults(IInspectable** result) override {
        *result = nullptr;
        if (FAILED(error)) {
            return error;
        }
        file.Get()->AddRef();
        *result = file.Get();
        return S_OK;
    }

private:
    ComPtr<StorageFile> file;
};

class Action : public Finished<IAsyncAction> {
public:
    using Finished::Finished;

    HRESULT STDMETHODCALLTYPE GetResults() override { return error; }

protected:
    void* Find(REFIID iid) override {
        return iid == kAsyncActionIid ? static_cast<IAsyncAction*>(this) : Finished::Find(iid);
    }
};

// The statics of a class: Find answers for IActivationFactory and the class's statics IID.
template <typename Statics>
class Factory : public Object<IActivationFactory, Statics> {
public:
    HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) override {
        *instance = nullptr;
        return E_NOTIMPL;
    }

protected:
    void* Find(REFIID iid) override {
        if (iid == __uuidof(IActivationFactory)) {
            return static_cast<IActivationFactory*>(this);
        }
        return iid == StaticsIid() ? static_cast<Statics*>(this) : nullptr;
    }
    virtual const GUID& StaticsIid() const = 0;
};

class StorageFileFactory : public Factory<IStorageFileStatics> {
public:
    HRESULT STDMETHODCALLTYPE GetFileFromPathAsync(HSTRING path,
                                                   IAsyncOperationStorageFile** op) override {
        *op = nullptr;
        return Guarded([&] {
            const wchar_t* text = WindowsGetStringRawBuffer(path, nullptr);
            *op = GetFileAttributesW(text) == INVALID_FILE_ATTRIBUTES
                      ? new FileOperation(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), nullptr)
                      : new FileOperation(S_OK, new StorageFile(text));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE
    GetFileFromApplicationUriAsync(IInspectable*, IAsyncOperationStorageFile**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateStreamedFileAsync(HSTRING, IUnknown*, IInspectable*,
                                                      IAsyncOperationStorageFile**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ReplaceWithStreamedFileAsync(IInspectable*, IUnknown*, IInspectable*,
                                                           IAsyncOperationStorageFile**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE CreateStreamedFileFromUriAsync(
        HSTRING, IInspectable*, IInspectable*, IAsyncOperationStorageFile**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE ReplaceWithStreamedFileFromUriAsync(
        IInspectable*, IInspectable*, IInspectable*, IAsyncOperationStorageFile**) override {
        return E_NOTIMPL;
    }

protected:
    const GUID& StaticsIid() const override { return kStorageFileStaticsIid; }
};

std::wstring ReadText(const wchar_t* name) {
    wchar_t buffer[MAX_PATH] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_REG_SZ, nullptr, buffer,
                     &size) != ERROR_SUCCESS) {
        return {};
    }
    return buffer;
}

bool Failing() {
    DWORD value = 0;
    DWORD size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"Fail", RRF_RT_REG_DWORD, nullptr, &value,
                        &size) == ERROR_SUCCESS &&
           value == 1;
}

// Appends a line to calls.txt and returns its number, or 0 when the file cannot be written.
int AppendCall(const std::wstring& folder, const std::string& line) {
    UniqueHandle file(CreateFileW((folder + L"\\calls.txt").c_str(),
                                  GENERIC_READ | FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return 0;
    }
    int lines = 1;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        for (DWORD i = 0; i < read; ++i) {
            lines += buffer[i] == '\n';
        }
    }
    const std::string text = line + "\r\n";
    DWORD written = 0;
    return WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr)
               ? lines
               : 0;
}

class LockScreenFactory : public Factory<ILockScreenStatics> {
public:
    HRESULT STDMETHODCALLTYPE get_OriginalImageFile(IInspectable** uri) override {
        *uri = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetImageStream(IInspectable** stream) override {
        *stream = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetImageFileAsync(IInspectable* file,
                                                IAsyncAction** action) override {
        *action = nullptr;
        ComPtr<IInspectable> own;
        if (!file ||
            FAILED(file->QueryInterface(kDoubleFileIid, reinterpret_cast<void**>(own.Put())))) {
            return E_INVALIDARG;
        }
        return Guarded([&] {
            const std::wstring& path = static_cast<StorageFile*>(own.Get())->path;
            const std::wstring folder = ReadText(L"RecordFolder");
            if (Failing()) {
                AppendCall(folder, "refused " + Narrow(path));
                *action = new Action(E_ACCESSDENIED);
                return S_OK;
            }
            const int number = AppendCall(folder, Narrow(path));
            const std::wstring copy = folder + L"\\" + std::to_wstring(number) + L".jpg";
            const bool copied = number > 0 && CopyFileW(path.c_str(), copy.c_str(), FALSE);
            *action = new Action(copied ? S_OK : HRESULT_FROM_WIN32(ERROR_WRITE_FAULT));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE SetImageStreamAsync(IInspectable*, IAsyncAction** action) override {
        *action = nullptr;
        return E_NOTIMPL;
    }

protected:
    const GUID& StaticsIid() const override { return kLockScreenStaticsIid; }
};

}  // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetActivationFactory(HSTRING classId, IActivationFactory** factory) {
    *factory = nullptr;
    return Guarded([&] {
        const std::wstring_view name = WindowsGetStringRawBuffer(classId, nullptr);
        if (name == kStorageFileClass) {
            *factory = new StorageFileFactory;
        } else if (name == kLockScreenClass) {
            *factory = new LockScreenFactory;
        }
        return *factory ? S_OK : CLASS_E_CLASSNOTAVAILABLE;
    });
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
    return liveObjects == 0 ? S_OK : S_FALSE;
}
