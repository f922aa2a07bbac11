#pragma once

#include "veneer/resource/ZipArchive.h"

namespace Veneer
{

// The skin archive for one load of a document or image: the archive kept
// open by the resource settings, or else the archive file under the
// resource path, opened now and closed again when the holder goes. An
// archive given from memory is only ever the one kept open.
class CArchiveForLoad
{
  public:
    CArchiveForLoad();
    CArchiveForLoad(const CArchiveForLoad&) = delete;
    CArchiveForLoad& operator=(const CArchiveForLoad&) = delete;
    ~CArchiveForLoad();

    // Null when the archive could not be opened.
    HZIP Get() const { return m_hz; }

  private:
    HZIP m_hz;
    bool m_bOwned;
};

} // namespace Veneer
