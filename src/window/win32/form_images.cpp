// The image lists il4Default and il4Highlight (46 images of 16 x 16, the pictures
// under the indexes the actions use, the highlighted form under the same index) and
// the window's icon, all from the program's resources.
#include <array>

#include "window/win32/main_form.h"

namespace {

struct Picture {
  int index;
  const wchar_t* name;
  const wchar_t* hot;
};
constexpr Picture kPictures[] = {
    {27, L"IMG_EXIT", L"IMG_EXIT_HOT"},
    {30, L"IMG_OPEN", L"IMG_OPEN_HOT"},
    {32, L"IMG_MERGE", L"IMG_MERGE_HOT"},
    {36, L"IMG_SAVE", L"IMG_SAVE_HOT"},
};
constexpr int kImageCount = 46;

HICON LoadPicture(const wchar_t* name, int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// An image list of kImageCount pictures, empty but for those named.
HIMAGELIST BuildList(bool hot) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, kImageCount, 0);
  HICON blank = CreateIcon(
      GetModuleHandleW(nullptr), 16, 16, 1, 1,
      std::array<BYTE, 32>{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                           0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                           0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}
          .data(),
      std::array<BYTE, 32>{}.data());
  for (int i = 0; i < kImageCount; ++i) {
    HICON picture = nullptr;
    for (const Picture& p : kPictures) {
      if (p.index == i) picture = LoadPicture(hot ? p.hot : p.name, 16);
    }
    ImageList_AddIcon(list, picture ? picture : blank);
    if (picture) DestroyIcon(picture);
  }
  DestroyIcon(blank);
  return list;
}

}  // namespace

void TMainForm::BuildImageLists() {
  il4Default_ = BuildList(false);
  il4Highlight_ = BuildList(true);
}

HICON TMainForm::BuildIcon() const {
  if (HICON icon = LoadPicture(L"MAINICON", 32)) return icon;
  return CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
}
