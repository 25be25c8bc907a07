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

-- The syllable-following scan order, optional: for each place in the Hangul syllable the
-- scan lines the line scan visits first, e.g.
--   ScanOrder = { wordEnd = { 1, 2, 3 }, initial = { 3, 1, 2 }, vowel = { 2, 1, 3 } }
-- (places: wordEnd, initial, vowel, final, word; a place left out takes wordEnd's). A 0
-- stands for the line that holds the letter most of the word candidates go on with.
ScanOrder = nil

-- Whether the word keys type a space after the word, optional: a mark that closes a
-- sentence or a clause (. , ? ! : ; ) ] }) chosen right after goes before that space.
SpaceAfterWord = false

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

-- The scan order as text for the loader: one group of line numbers per place, in the
-- order wordEnd, initial, vowel, final, word, separated by ";". It reads raw, with the
-- library functions of this moment, so that nothing the layout set up runs.
ScanOrderText = ""
do
  local rawget, type, error, format, globals = rawget, type, error, string.format, _G
  local places = { "wordEnd", "initial", "vowel", "final", "word" }
  function GetScanOrder()
    local order = rawget(globals, "ScanOrder")
    if order == nil then return "" end
    if type(order) ~= "table" then error("ScanOrder: should be a table") end
    local text = ""
    for p = 1, 5 do
      if p > 1 then text = text .. ";" end
      local lines = rawget(order, places[p])
      if lines ~= nil then
        if type(lines) ~= "table" then error("ScanOrder." .. places[p] .. ": should be a table of line numbers") end
        for i = 1, #lines do
          local line = rawget(lines, i)
          if type(line) ~= "number" then error("ScanOrder." .. places[p] .. ": should be a table of line numbers") end
          text = text .. " " .. format("%d", line)
        end
      end
    end
    return text
  end
end
