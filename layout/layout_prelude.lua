-- Layout prelude: runs before every layout script, in the same interpreter.
-- It gives the layout its constants and the Key function, and the loader its accessors.

TK_TOGGLE     = 1
TK_STRING     = 2
TK_CHANGEVIEW = 4
TK_SWITCH     = 8
TK_EXTENDED   = 16
TK_SHIFT      = 32
TK_MACRO      = 64

IL_ENGLISH = 0
IL_KOREAN  = 1

Keys = {}
KeyCount = 0

function Key(data)
  KeyCount = KeyCount + 1
  Keys[KeyCount] = data
end

function GetPosition(i)
  local pos = Keys[i].pos
  return pos.left, pos.top, pos.width, pos.height
end

function GetStroke(i)
  return Keys[i].stroke
end

function GetLabel(i)
  local label = Keys[i].label
  return label.ncns, label.ncys, label.ycns, label.ycys
end

function GetScanInfo(i)
  local scan = Keys[i].scan
  return scan.line, scan.block
end

function GetNormalColor(i)
  local c = Keys[i].normal
  return c.text, c.face, c.border
end

function GetPressColor(i)
  local c = Keys[i].press
  return c.text, c.face, c.border
end

function RGB(r, g, b)
  return (b * 256 + g) * 256 + r
end
