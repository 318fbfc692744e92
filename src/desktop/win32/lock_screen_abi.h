// The Windows Runtime interfaces that set the lock-screen picture, declared for the ABI (the
// vtable layout a C++ caller sees) from their metadata in the Windows SDK (Windows.winmd:
// Windows.System.UserProfile.ILockScreenStatics, Windows.Storage.IStorageFileStatics,
// Windows.Foundation.IAsyncAction and IAsyncOperation`1). Only the IIDs Velumar asks for are
// given; the methods are in metadata order, after IInspectable's. The IAsyncInfo and
// IInspectable declarations come from the system headers.
#pragma once

#include <windows.h>

#include <asyncinfo.h>
#include <hstring.h>
#include <inspectable.h>

namespace lockscreen_abi {

// The runtime classes whose statics are asked for.
inline constexpr wchar_t kLockScreenClass[] = L"Windows.System.UserProfile.LockScreen";
inline constexpr wchar_t kStorageFileClass[] = L"Windows.Storage.StorageFile";

// Windows.System.UserProfile.ILockScreenStatics
inline constexpr GUID kLockScreenStaticsIid = {
    0x3ee9d3ad, 0xb607, 0x40ae, {0xb4, 0x26, 0x76, 0x31, 0xd9, 0x82, 0x12, 0x69}};
// Windows.Storage.IStorageFileStatics
inline constexpr GUID kStorageFileStaticsIid = {
    0x5984c710, 0xdaf2, 0x43c8, {0x8b, 0xb4, 0xa4, 0xd3, 0xea, 0xcf, 0xd0, 0x3f}};
// Windows.Storage.IStorageFile, the default interface of a StorageFile
inline constexpr GUID kStorageFileIid = {
    0xfa3f6186, 0x4214, 0x428c, {0xa6, 0x4c, 0x14, 0xc9, 0xac, 0x73, 0x15, 0xea}};
// IAsyncInfo, which every asynchronous operation answers to
inline constexpr GUID kAsyncInfoIid = {
    0x00000036, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// Windows.Foundation.IAsyncAction
inline constexpr GUID kAsyncActionIid = {
    0x5a648006, 0x843a, 0x4da9, {0x86, 0x5b, 0x9d, 0x26, 0xe5, 0xdf, 0xad, 0x7b}};

// Windows.Foundation.IAsyncAction. The completion handler is not used: the caller polls
// IAsyncInfo, which every asynchronous operation also answers to.
struct IAsyncAction : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(IUnknown** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults() = 0;
};

// Windows.Foundation.IAsyncOperation<Windows.Storage.StorageFile>; its result is the file's
// IStorageFile.
struct IAsyncOperationStorageFile : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(IUnknown* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(IUnknown** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(IInspectable** file) = 0;
};

// Windows.Storage.IStorageFileStatics
struct IStorageFileStatics : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetFileFromPathAsync(HSTRING path,
                                                           IAsyncOperationStorageFile** op) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    GetFileFromApplicationUriAsync(IInspectable* uri, IAsyncOperationStorageFile** op) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateStreamedFileAsync(HSTRING displayName,
                                                              IUnknown* dataRequested,
                                                              IInspectable* thumbnail,
                                                              IAsyncOperationStorageFile** op) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    ReplaceWithStreamedFileAsync(IInspectable* fileToReplace, IUnknown* dataRequested,
                                 IInspectable* thumbnail, IAsyncOperationStorageFile** op) = 0;
    virtual HRESULT STDMETHODCALLTYPE
    CreateStreamedFileFromUriAsync(HSTRING displayName, IInspectable* uri, IInspectable* thumbnail,
                                   IAsyncOperationStorageFile** op) = 0;
    virtual HRESULT STDMETHODCALLTYPE ReplaceWithStreamedFileFromUriAsync(
        IInspectable* fileToReplace, IInspectable* uri, IInspectable* thumbnail,
        IAsyncOperationStorageFile** op) = 0;
};

// Windows.System.UserProfile.ILockScreenStatics
struct ILockScreenStatics : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_OriginalImageFile(IInspectable** uri) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetImageStream(IInspectable** stream) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetImageFileAsync(IInspectable* file,
                                                        IAsyncAction** action) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetImageStreamAsync(IInspectable* stream,
                                                          IAsyncAction** action) = 0;
};

}  // namespace lockscreen_abi
