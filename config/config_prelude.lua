-- Configuration prelude: runs before Tessary.cfg, so the file can name its values.

IM_CLICK = 1
IM_DWELL = 2
IM_SCAN  = 3

IDM_CBT = 1
IDM_IMG = 2

HC_IME      = 1
HC_KEYBOARD = 2
HC_AUTO     = 3

function RGB(r, g, b)
  return (b * 256 + g) * 256 + r
end
