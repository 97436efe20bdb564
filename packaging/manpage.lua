-- Turns a page of the user's reference into a manual page: its title "program: summary" becomes the
-- NAME section ("program - summary") that whatis and apropos read, followed by DESCRIPTION for the
-- introduction, and every other heading moves up one level, so the reference's sections become the page's.
function Header(header)
  if header.level > 1 then
    header.level = header.level - 1
    return header
  end
  local program, summary = pandoc.utils.stringify(header.content):match("^(%S+):%s*(.+)$")
  if not program then
    error("the reference's title must read \"program: summary\"")
  end
  return {
    pandoc.Header(1, "NAME"),
    pandoc.Para({pandoc.Str(program), pandoc.Space(), pandoc.Str("-"), pandoc.Space(), pandoc.Str(summary)}),
    pandoc.Header(1, "DESCRIPTION"),
  }
end
