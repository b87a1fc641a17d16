// Reading a late-bound call's arguments and writing its results by hand.
// Clients pass values plainly, by typed reference (VT_BYREF|VT_BSTR) or, from
// scripts, by variant reference (VT_BYREF|VT_VARIANT); all three are accepted.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <cstdint>

namespace ravelin {

class TDispArgs {
 public:
  TDispArgs(const DISPPARAMS* params, UINT* argErr) : params_(params), argErr_(argErr) {}

  // DISP_E_BADPARAMCOUNT or DISP_E_NONAMEDARGS unless exactly `count`
  // positional arguments came.
  HRESULT Expect(unsigned count) const;

  // Arguments are numbered in the method's declared order, from 0.
  HRESULT Long(unsigned index, std::int32_t& value) const;
  HRESULT Bool(unsigned index, bool& value) const;
  // The caller frees `value` (SysFreeString).
  HRESULT Text(unsigned index, BSTR& value) const;
  // AddRef'd; null is accepted.
  HRESULT Dispatch(unsigned index, IDispatch*& value) const;

  // Replaces a by-reference text argument; takes ownership of `value`. An
  // argument passed by value cannot carry anything back and is left alone:
  // the call has already acted and must not fail now.
  void SetText(unsigned index, BSTR value) const;

 private:
  VARIANT& Arg(unsigned index) const;
  HRESULT Convert(unsigned index, VARTYPE type, VARIANT& out) const;

  const DISPPARAMS* params_;
  UINT* argErr_;
};

void ReturnLong(VARIANT* result, std::int32_t value);
// Takes ownership of `value`.
void ReturnText(VARIANT* result, BSTR value);

}  // namespace ravelin
