-- kova lsp in Neovim's built-in client (Neovim 0.7): opens block.xml with
-- its misspelt name, waits for the diagnostic, asks a hover and the
-- definition of a name declared in the included file, applies the first
-- code action and waits for the diagnostics to clear. Writes one
-- "key=value" line per answer to $KOVA_LSP_OUT and quits; run-nvim
-- compares the lines with the values it expects.
local kova, folder, out_path = os.getenv('KOVA'), os.getenv('KOVA_LSP_FOLDER'), os.getenv('KOVA_LSP_OUT')
local lines = {}
local function put(key, value) table.insert(lines, key .. '=' .. tostring(value)) end

local function request(buf, method, params)
  local answers = vim.lsp.buf_request_sync(buf, method, params, 20000) or {}
  for _, answer in pairs(answers) do return answer.result end
end

local function at(line, character)
  return {textDocument = {uri = vim.uri_from_fname(folder .. '/block.xml')},
          position = {line = line, character = character}}
end

local function run()
  vim.cmd('edit ' .. folder .. '/block.xml')
  local buf = vim.api.nvim_get_current_buf()
  local client = vim.lsp.start_client({name = 'kova', cmd = {kova, 'lsp'}, root_dir = folder})
  vim.lsp.buf_attach_client(buf, client)
  vim.wait(20000, function() return #vim.diagnostic.get(buf) > 0 end, 20)
  local found = vim.diagnostic.get(buf)[1]
  put('diagnostic', found and string.format('%d:%d %s', found.lnum, found.col, found.user_data.lsp.code))

  local hover = request(buf, 'textDocument/hover', at(14, 36))
  put('hover', hover and vim.split(hover.contents.value, '\n')[1])

  local definition = request(buf, 'textDocument/definition', at(12, 42))
  put('definition', definition and string.format('%s:%d', vim.fn.fnamemodify(vim.uri_to_fname(definition.uri), ':t'),
                                                 definition.range.start.line))

  local actions = request(buf, 'textDocument/codeAction', {
    textDocument = {uri = vim.uri_from_fname(folder .. '/block.xml')},
    range = {start = {line = 14, character = 0}, ['end'] = {line = 14, character = 0}},
    context = {diagnostics = {}}}) or {}
  put('action', actions[1] and actions[1].title)
  if actions[1] then vim.lsp.util.apply_workspace_edit(actions[1].edit, 'utf-16') end
  put('fixed', vim.api.nvim_buf_get_lines(buf, 14, 15, false)[1]:match('|| (%S+) gt'))
  vim.wait(20000, function() return #vim.diagnostic.get(buf) == 0 end, 20)
  put('after', #vim.diagnostic.get(buf))
  vim.lsp.stop_client(client)
end

local ok, problem = pcall(run)
if not ok then put('error', problem) end
vim.fn.writefile(lines, out_path)
vim.cmd('qall!')
