# Sourced by the other scripts, from the checkout's top folder: who builds and who runs the
# program when a script runs as root. The build belongs to the checkout's owner, and the program
# runs as the desktop's user: started as root it reaches no user's sound server and plays in
# silence. Run by an ordinary user, or as root in root's own checkout (CI), nothing changes.

# The checkout's owner when root runs a script in an ordinary user's checkout; empty otherwise,
# and also when the owner is a bare user id with no account here (a folder mounted from elsewhere).
checkout_owner() {
  [ "$(id -u)" = 0 ] || return 0
  local owner
  owner=$(stat -c %U .)
  if [ "$owner" != root ] && getent passwd "$owner" >/dev/null; then echo "$owner"; fi
}

# The user at the desktop when a script runs as root: who called sudo or pkexec, else the
# checkout's owner; empty when not root or when no one else is found.
desktop_user() {
  [ "$(id -u)" = 0 ] || return 0
  if [ -n "${SUDO_USER:-}" ] && [ "$SUDO_USER" != root ]; then
    echo "$SUDO_USER"
  elif [ -n "${PKEXEC_UID:-}" ] && [ "$PKEXEC_UID" != 0 ]; then
    id -nu "$PKEXEC_UID"
  else
    checkout_owner
  fi
}

# Runs the calling script again as the checkout's owner when root runs it in that user's
# checkout, with a build folder an earlier root run left given back to the owner.
rerun_as_checkout_owner() {
  local owner
  owner=$(checkout_owner)
  [ -n "$owner" ] || return 0
  if [ -e build ]; then chown -R "$owner:" build; fi
  exec runuser -u "$owner" -- bash "$@"
}
