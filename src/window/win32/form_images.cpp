// The image lists il4Default and il4Highlight (46 images of 16 x 16, the pictures the
// window's description gives each place, the highlighted form under the same index)
// and the window's icon, all from the program's resources.
#include "window/win32/main_form.h"

namespace {

// The program's icon resource of each picture, as it is and highlighted.
struct PictureNames {
  const wchar_t* name;
  const wchar_t* hot;
};
PictureNames NamesOf(window::Picture picture) {
  switch (picture) {
    case window::Picture::Exit:
      return {L"IMG_EXIT", L"IMG_EXIT_HOT"};
    case window::Picture::Open:
      return {L"IMG_OPEN", L"IMG_OPEN_HOT"};
    case window::Picture::Merge:
      return {L"IMG_MERGE", L"IMG_MERGE_HOT"};
    case window::Picture::Save:
      return {L"IMG_SAVE", L"IMG_SAVE_HOT"};
  }
  return {L"IMG_EXIT", L"IMG_EXIT_HOT"};
}

HICON LoadPicture(const wchar_t* name, int size) {
  return static_cast<HICON>(
      LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// An image list of every place, each showing the picture the description gives it.
HIMAGELIST BuildList(bool hot) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, window::kImageCount, 0);
  for (int i = 0; i < window::kImageCount; ++i) {
    const PictureNames names = NamesOf(window::PictureAt(i));
    HICON picture = LoadPicture(hot ? names.hot : names.name, 16);
    if (!picture) picture = CopyIcon(LoadIconW(nullptr, IDI_APPLICATION));
    ImageList_AddIcon(list, picture);
    DestroyIcon(picture);
  }
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
