// The image library with Windows types: the c... operations as functions, over one session table
// for the whole process that decodes through WIC. Strings come as BSTRs the caller frees with
// SysFreeString; the SAFEARRAY of cGetDIB belongs to the session and is freed with it.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include "imagelib/image_library.h"

// The same library and sessions through the portable interface, for code that takes a port.
ImageLibrary& ProcessImageLibrary();

int cNewSession();
int cDestroySession(int session);
int cLoadImage(int session, const char* path, int page, int reserved1, int reserved2);
int cGetImageInfo(int session, UINT* width, UINT* height, BYTE* bitsPerPixel, int* rowBytes,
                  int* paletteColors, int* page, int* outline, int* grayScale, int* pageCount,
                  int* dibBytes);
int cGetImageFileInfo(const char* path, int reserved, int* format, UINT* width, UINT* height,
                      BYTE* bitsPerPixel, int* pageCount, BSTR* description, BSTR* formatName,
                      BSTR* mimeTypes, BSTR* extensions, int* dpiX, int* dpiY, BSTR* codecName);
int cLoadThumbnail(int session, const char* path, int maxWidth, int maxHeight);
// A one-dimensional VT_UI1 array with the packed bitmap; never destroyed by the caller.
int cGetDIB(int session, SAFEARRAY** array, int reserved);
int cOpResize(int session, int width, int height, int keepAspect, int reserved, int method);
int cOpRotateFine(int session, double angle);
int cOpReduceColors(int session, int maxColors, int bitsPerPixel, int mode);
int cOpIncreaseBitsPerPixel(int session, int bitsPerPixel);
int cOpGrayScale(int session);
int cLoadAlphaMask(int session, const BYTE* mask);
int cMergeTransparency(int session, COLORREF color);
int cSave(int session, const char* path, int format, int reserved1, int reserved2, int reserved3);
