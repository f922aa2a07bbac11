#include "veneer/resource/StbOutputLoan.h"

#include <cstdlib>
#include <cstring>

namespace Veneer
{

namespace
{

// The calling thread's loan: one block at most, and whether the decoder
// holds it now.
struct Loan
{
    void* pBlock;
    size_t size;
    bool bTaken;
};

thread_local Loan t_loan = {nullptr, 0, false};

bool IsLent(const void* p)
{
    return p != nullptr && p == t_loan.pBlock;
}

} // namespace

CStbOutputLoan::CStbOutputLoan(void* pBlock, size_t size) : m_pBlock(size != 0 ? pBlock : nullptr)
{
    t_loan = {m_pBlock, m_pBlock != nullptr ? size : 0, false};
}

CStbOutputLoan::~CStbOutputLoan()
{
    t_loan = {nullptr, 0, false};
}

void* StbAllocate(size_t size)
{
    if (t_loan.pBlock != nullptr && !t_loan.bTaken && size == t_loan.size)
    {
        t_loan.bTaken = true;
        return t_loan.pBlock;
    }
    return malloc(size);
}

void* StbReallocate(void* p, size_t size)
{
    if (!IsLent(p))
        return realloc(p, size);
    // The block cannot grow or shrink: its contents move to the heap and it
    // becomes free to lend again.
    void* pMoved = malloc(size);
    if (pMoved == nullptr)
        return nullptr;
    memcpy(pMoved, p, size < t_loan.size ? size : t_loan.size);
    t_loan.bTaken = false;
    return pMoved;
}

void StbFree(void* p)
{
    if (IsLent(p))
        t_loan.bTaken = false;
    else
        free(p);
}

} // namespace Veneer
