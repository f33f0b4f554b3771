! morse: the Morse potential of the hydrogen molecule and its harmonic approximation, drawn
! with the STYLUS module. The device keyword is the first argument ('TIFF' when none is
! given; 'CONS' shows the plot on the screen). Build against an installed library with
!   gfortran $(pkg-config --variable=fortran_module stylus) morse.f90 $(pkg-config --libs stylus)
program morse
  use stylus
  implicit none
  integer, parameter :: n = 121, m = 41
  real, parameter :: depth = 4.75, width = 1.94, r0 = 0.741  ! eV, 1/A, A
  real :: r(n), v(n), rh(m), h(m)
  character(len=16) :: device
  integer :: i

  do i = 1, n
    r(i) = 0.4 + 2.6 * real(i - 1) / real(n - 1)
    v(i) = depth * (1.0 - exp(-width * (r(i) - r0)))**2 - depth
  end do
  do i = 1, m
    rh(i) = 0.3 + real(i - 1) / real(m - 1)
    h(i) = depth * (width * (rh(i) - r0))**2 - depth
  end do

  device = 'TIFF'
  if (command_argument_count() > 0) call get_command_argument(1, device)

  call metafl(trim(device))
  call disini()
  call name('Separation (A)', 'X')
  call name('Energy (eV)', 'Y')
  call labdig(1, 'XY')
  call graf(0.0, 3.0, 0.0, 0.5, -5.0, 1.0, -5.0, 1.0)
  call linwid(3)
  call color('RED')
  call curve(r, v, n)
  call color('GREEN')
  call dashm()
  call curve(rh, h, m)
  call solid()
  call color('FORE')
  call messag('Morse potential, harmonic approximation dashed', 700, 320)
  call disfin()

  write (*, '(a, i0, a, a)') 'warnings: ', nwarns(), ', drawn on ', dddate()
end program morse
