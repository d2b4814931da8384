#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

// Runs `body` as the user nobody when the tests run as root, who may write
// into any folder, so that a refused write is really refused; otherwise
// runs it here. The body reports what happened as text, which comes back
// from the child through a pipe.
inline std::string AsOrdinaryUser(const std::function<std::string()>& body) {
  if (::geteuid() != 0) return body();
  int ends[2];
  if (::pipe(ends) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ends[0]);
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    const std::string said = body();
    for (std::size_t at = 0; at < said.size();) {
      const ssize_t n = ::write(ends[1], said.data() + at, said.size() - at);
      if (n <= 0) ::_exit(3);
      at += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(ends[1]);
  std::string said;
  char buffer[4096];
  for (ssize_t n; (n = ::read(ends[0], buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<std::size_t>(n));
  ::close(ends[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return "the child ended abnormally: " + said;
  return said;
}
