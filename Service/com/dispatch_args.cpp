#include "com/dispatch_args.h"

#include <oleauto.h>

namespace ravelin {

HRESULT TDispArgs::Expect(unsigned count) const {
  if (params_->cNamedArgs != 0) return DISP_E_NONAMEDARGS;
  if (params_->cArgs != count) return DISP_E_BADPARAMCOUNT;
  return S_OK;
}

// rgvarg holds the arguments last first.
VARIANT& TDispArgs::Arg(unsigned index) const {
  return params_->rgvarg[params_->cArgs - 1 - index];
}

HRESULT TDispArgs::Convert(unsigned index, VARTYPE type, VARIANT& out) const {
  VARIANT plain;
  VariantInit(&plain);
  HRESULT hr = VariantCopyInd(&plain, &Arg(index));
  if (SUCCEEDED(hr)) hr = VariantChangeType(&out, &plain, 0, type);
  VariantClear(&plain);
  if (FAILED(hr)) {
    if (argErr_) *argErr_ = params_->cArgs - 1 - index;
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

HRESULT TDispArgs::Long(unsigned index, std::int32_t& value) const {
  VARIANT v;
  VariantInit(&v);
  const HRESULT hr = Convert(index, VT_I4, v);
  if (SUCCEEDED(hr)) value = v.lVal;
  return hr;
}

HRESULT TDispArgs::Bool(unsigned index, bool& value) const {
  VARIANT v;
  VariantInit(&v);
  const HRESULT hr = Convert(index, VT_BOOL, v);
  if (SUCCEEDED(hr)) value = v.boolVal != VARIANT_FALSE;
  return hr;
}

HRESULT TDispArgs::Text(unsigned index, BSTR& value) const {
  VARIANT v;
  VariantInit(&v);
  const HRESULT hr = Convert(index, VT_BSTR, v);
  if (SUCCEEDED(hr)) value = v.bstrVal;  // ownership passes to the caller
  return hr;
}

HRESULT TDispArgs::Dispatch(unsigned index, IDispatch*& value) const {
  VARIANT plain;
  VariantInit(&plain);
  HRESULT hr = VariantCopyInd(&plain, &Arg(index));
  value = nullptr;
  if (SUCCEEDED(hr)) {
    if (plain.vt == VT_EMPTY || plain.vt == VT_NULL ||
        ((plain.vt == VT_DISPATCH || plain.vt == VT_UNKNOWN) && !plain.punkVal))
      hr = S_OK;
    else if (plain.vt == VT_DISPATCH || plain.vt == VT_UNKNOWN)
      hr = plain.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&value));
    else
      hr = DISP_E_TYPEMISMATCH;
  }
  VariantClear(&plain);
  if (FAILED(hr)) {
    if (argErr_) *argErr_ = params_->cArgs - 1 - index;
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

void TDispArgs::SetText(unsigned index, BSTR value) const {
  VARIANT& arg = Arg(index);
  if (arg.vt == (VT_BYREF | VT_BSTR)) {
    SysFreeString(*arg.pbstrVal);
    *arg.pbstrVal = value;
  } else if (arg.vt == (VT_BYREF | VT_VARIANT)) {
    VariantClear(arg.pvarVal);
    arg.pvarVal->vt = VT_BSTR;
    arg.pvarVal->bstrVal = value;
  } else {
    SysFreeString(value);
  }
}

void ReturnLong(VARIANT* result, std::int32_t value) {
  if (!result) return;
  VariantInit(result);
  result->vt = VT_I4;
  result->lVal = value;
}

void ReturnText(VARIANT* result, BSTR value) {
  if (!result) {
    SysFreeString(value);
    return;
  }
  VariantInit(result);
  result->vt = VT_BSTR;
  result->bstrVal = value;
}

}  // namespace ravelin
