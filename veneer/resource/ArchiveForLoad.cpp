#include "veneer/resource/ArchiveForLoad.h"

#include "veneer/resource/ResourceSettings.h"

namespace Veneer
{

CArchiveForLoad::CArchiveForLoad() : m_hz(nullptr), m_bOwned(false)
{
    // An archive given from memory that could not be opened has no file to
    // fall back on: a file named like its marker must not stand in for it.
    if (CResourceSettings::IsResourceZipInMemory() ||
        (CResourceSettings::IsCachedResourceZip() && CResourceSettings::GetResourceZipHandle() != nullptr))
    {
        m_hz = CResourceSettings::GetResourceZipHandle();
        return;
    }
    const CUiString sArchive = CResourceSettings::GetResourcePath() + CResourceSettings::GetResourceZip();
    m_hz = OpenZip(sArchive.GetData(), 0, ZIP_FILENAME);
    m_bOwned = true;
}

CArchiveForLoad::~CArchiveForLoad()
{
    if (m_bOwned && m_hz != nullptr)
        CloseZip(m_hz);
}

} // namespace Veneer
