#include "tools/pagedriver/BrowserCall.h"

#include "veneer/core/ScopedHolders.h"

#include <oleauto.h>

CBrowserCall CallAsBrowser(IDispatch* external, const wchar_t* name, const std::vector<VARIANT>& args)
{
    CBrowserCall call;
    // Script engines pass the name as a BSTR.
    const Veneer::CScopedBstr nameHolder(SysAllocString(name));
    BSTR nameText = nameHolder.Get();
    call.lookup = external->GetIDsOfNames(IID_NULL, &nameText, 1, LOCALE_USER_DEFAULT, &call.id);
    if (FAILED(call.lookup))
        return call;

    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPPARAMS params{};
    params.rgvarg = reversed.empty() ? nullptr : reversed.data();
    params.cArgs = static_cast<UINT>(reversed.size());
    EXCEPINFO exception{};
    UINT argumentError = 0;
    VariantInit(&call.result);
    call.invoke = external->Invoke(call.id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                   &call.result, &exception, &argumentError);
    return call;
}
