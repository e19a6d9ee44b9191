-- wrk script: every connection presses "View" on a session of its own.
--
-- The driver creates the sessions first and names their form actions (".../EXEC/<counter>/<id>")
-- one a line in the file $RIBBON_LOAD_SESSIONS. Each wrk thread takes its share. A session is
-- busy while one of its posts is in flight; each response carries the session's next form action,
-- which frees the session with its new counter. So a session's posts never overlap and never go
-- stale, as with a person pressing "View" again and again.

local body = table.concat({
  "edtBarcode=RIBBON-42", "cmbBarType=3", "cmbModul=0", "cmbRatio=1", "chkCheckSum=Off",
  "edtLeft=20", "edtTop=20", "edtHeight=50", "edtAngle=0", "cmbBackColor=17", "cmbBarColor=0",
  "cmbSpaceColor=17", "cmbTextColor=0", "cmbTextSize=0", "cmbTextBackColor=17",
  "cmbTextShow=1", "cmbTextPost=5", "chkBold=Off", "chkItalic=Off", "chkUnderline=Off",
  "chkStrikeOut=Off", "chkBitmap=On", "IW_Action=IWButton1", "IW_ActionParam=",
}, "&")

local threads = {}

-- The share of thread n (1-based) of the sessions file: every n-th line.
local function share(n, of)
  local path = os.getenv("RIBBON_LOAD_SESSIONS")
  local f = assert(io.open(path, "r"), "cannot read the sessions file " .. tostring(path))
  local lines, i = {}, 0
  for line in f:lines() do
    if line ~= "" then
      if i % of == n - 1 then table.insert(lines, line) end
      i = i + 1
    end
  end
  f:close()
  return table.concat(lines, "\n")
end

-- Runs in the main thread, once per wrk thread, before that thread starts.
function setup(thread)
  table.insert(threads, thread)
  thread:set("id", #threads)
  thread:set("actions", share(#threads, tonumber(os.getenv("RIBBON_LOAD_THREADS") or "2")))
end

local free = nil
local headers = { ["Content-Type"] = "application/x-www-form-urlencoded" }
-- Per thread; done() adds them up.
stale, lost, views = 0, 0, 0

function request()
  if free == nil then
    free = {}
    for action in string.gmatch(actions or "", "[^\n]+") do table.insert(free, action) end
    -- wrk calls request() once on the first thread before it starts, to check the script; that
    -- request is never sent, so it must not take a session.
    if id == 1 then return wrk.format("POST", "/ribbon/", headers, body) end
  end
  local action = table.remove(free)
  if action == nil then
    -- A session came back without a page (an error): a fresh one takes its place.
    lost = lost + 1
    return wrk.format("GET", "/ribbon/")
  end
  return wrk.format("POST", action, headers, body)
end

function response(status, hdrs, resp)
  local action = string.match(resp, 'action="([^"]*/EXEC/%d+/%x+)"')
  if action then table.insert(free, action) end
  if string.find(resp, "You have attempted to post", 1, true) then stale = stale + 1 end
  if string.find(resp, 'id="IWImage1"', 1, true) then views = views + 1 end
end

function done(summary, latency, requests)
  local secs = summary.duration / 1e6
  io.write("--------------------------------------------------------------\n")
  io.write(string.format("requests: %d in %.1f s, %.1f requests/s\n",
                         summary.requests, secs, summary.requests / secs))
  io.write(string.format("errors: connect %d, read %d, write %d, status %d, timeout %d\n",
                         summary.errors.connect, summary.errors.read, summary.errors.write,
                         summary.errors.status, summary.errors.timeout))
  for _, p in ipairs({ 50, 75, 90, 99, 99.9 }) do
    io.write(string.format("latency p%-5s %8.2f ms\n", tostring(p), latency:percentile(p) / 1000))
  end
  io.write(string.format("latency max    %8.2f ms\n", latency.max / 1000))
  local st, lo, vi = 0, 0, 0
  for _, thread in ipairs(threads) do
    st, lo, vi = st + thread:get("stale"), lo + thread:get("lost"), vi + thread:get("views")
  end
  io.write(string.format("pages with a picture %d, resync warnings %d, sessions replaced %d\n", vi, st, lo))
  local e = summary.errors
  -- One line for the load curve's table: views/s, p50 ms, p99 ms, errors, sessions replaced.
  io.write(string.format("curve: %.0f %.2f %.2f %d %d\n", vi / secs, latency:percentile(50) / 1000,
                         latency:percentile(99) / 1000,
                         e.connect + e.read + e.write + e.status + e.timeout, lo))
end

